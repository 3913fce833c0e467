// ChangeConfigFile: read the whole file, edit the lines, replace the file in one step so that
// a failure never leaves it emptied or half written.

#include "common/error.h"
#include "halvane/functions/config_editor.h"
#include "halvane/functions/hvFunctions.h"
#include "platform/filesystem.h"
#include "platform/text_line_ends.h"

namespace hv::halvane {

void hvFunctions::ChangeConfigFile(const std::string& ConfigFile, const ConfigFileArray& ChArray) {
  const std::string text = platform::ReadFileText(ConfigFile);
  if (!ChArray.StartsAtZero()) throw Error(vberr::kSubscriptOutOfRange);
  const LineEnds ends = platform::kKeepTextLineEnds ? LineEnds::kAsRead : LineEnds::kCrLf;
  platform::ReplaceFileContent(ConfigFile, EditConfigText(text, ChArray.items, ends));
}

}  // namespace hv::halvane
