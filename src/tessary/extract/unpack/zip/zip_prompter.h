#pragma once
// The questions and reports an unzip run can raise. The system's own runs never ask
// (existing files are overwritten) and stay quiet; a caller that turns these on gets the
// texts and answer codes of the original callback contract.

#include <cstdint>
#include <functional>
#include <string>

namespace hv::zip {

// Answers to the replace question, as the unzip library's replace callback returns them.
enum class ReplaceAnswer : int { kReplace = 102, kKeep = 100, kReplaceNone = 104 };

inline constexpr char kReplaceTitle[] = "VBUnzip - File already exists";
inline constexpr int kReplaceStyle = 3;  // Yes, No and Cancel, no icon
inline std::string ReplaceQuestion(const std::string& name) {
  return "Overwrite " + name + "?";
}

// What a listing reports about one entry.
struct ListedEntry {
  std::string name;
  std::uint64_t uncompressed_size = 0;
  std::uint64_t compressed_size = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  std::uint32_t crc = 0;
  bool encrypted = false;
};

class ZipPrompter {
 public:
  virtual ~ZipPrompter() = default;
  // Asked before an existing file would be replaced (only when overwriting is off).
  virtual ReplaceAnswer AskReplace(const std::string& name) = 0;
  // Progress text of a run that is not quiet.
  virtual void Print(const std::string& text) { (void)text; }
  // One entry of a listing.
  virtual void List(const ListedEntry& entry) { (void)entry; }
};

// Asks the replace question through a message box: `show` gets text, title and style and
// returns the button pressed (6 Yes, 7 No, 2 Cancel).
class MessageBoxPrompter : public ZipPrompter {
 public:
  using ShowBox = std::function<int(const std::string& text, const std::string& title, int style)>;
  explicit MessageBoxPrompter(ShowBox show) : show_(std::move(show)) {}
  ReplaceAnswer AskReplace(const std::string& name) override;

 private:
  ShowBox show_;
};

// Collects printed text and the fixed-column listing records.
class ZipTextCollector : public MessageBoxPrompter {
 public:
  using MessageBoxPrompter::MessageBoxPrompter;
  void Print(const std::string& text) override { print_text += text; }
  // The first record of a run is preceded by the header record.
  void List(const ListedEntry& entry) override;
  void StartRun() { print_text.clear(), listing_count = 0; }

  std::string print_text;
  std::string listing_text;  // kept across runs
  std::int32_t listing_count = 0;
};

// The 80-column header ("Filename:", "Size", "Date", "Time") and one entry's record.
std::string ListingHeader();
std::string ListingRecord(const ListedEntry& entry);

}  // namespace hv::zip
