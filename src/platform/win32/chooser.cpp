// Until the chooser window exists, the question is declined (as Cancel would), so the
// extraction reports that no default file was chosen instead of guessing one.

#include "platform/chooser.h"

namespace hv::platform {
namespace {

class DecliningChooserPlaceholder : public FileChooser {
 public:
  std::string Choose(const std::vector<std::string>& /*names*/, std::size_t /*selected*/) override {
    return {};
  }
};

}  // namespace

FileChooser& SystemFileChooser() {
  static DecliningChooserPlaceholder chooser;
  return chooser;
}

}  // namespace hv::platform
