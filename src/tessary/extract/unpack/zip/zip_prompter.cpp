#include "tessary/extract/unpack/zip/zip_prompter.h"

namespace hv::zip {
namespace {

constexpr int kButtonYes = 6;
constexpr int kButtonNo = 7;
constexpr std::size_t kRecordWidth = 80;

void Place(std::string& record, std::size_t column, const std::string& text) {
  record.replace(column - 1, text.size(), text);
}

// Visual Basic's Str$: a blank for the sign of a positive number.
std::string WithSign(long long value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string Right(const std::string& text, std::size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}

std::string TwoDigits(int value) {
  return Right("0" + std::to_string(value), 2);
}

}  // namespace

ReplaceAnswer MessageBoxPrompter::AskReplace(const std::string& name) {
  switch (show_(ReplaceQuestion(name), kReplaceTitle, kReplaceStyle)) {
    case kButtonYes:
      return ReplaceAnswer::kReplace;
    case kButtonNo:
      return ReplaceAnswer::kKeep;
    default:
      return ReplaceAnswer::kReplaceNone;
  }
}

void ZipTextCollector::List(const ListedEntry& entry) {
  if (listing_count == 0) listing_text += ListingHeader();
  listing_text += ListingRecord(entry);
  ++listing_count;
}

std::string ListingHeader() {
  std::string record(kRecordWidth, ' ');
  Place(record, 1, "Filename:");
  Place(record, 53, "Size");
  Place(record, 62, "Date");
  Place(record, 71, "Time");
  return record;
}

std::string ListingRecord(const ListedEntry& entry) {
  std::string record(kRecordWidth, ' ');
  Place(record, 1, entry.name.substr(0, 50));
  Place(record, 51,
        Right(std::string(8, ' ') + WithSign(static_cast<long long>(entry.uncompressed_size)), 7));
  Place(record, 60, Right(WithSign(entry.day), 2) + "/");
  Place(record, 63, TwoDigits(entry.month) + "/");
  Place(record, 66, Right("0" + std::to_string(entry.year), 2));
  Place(record, 70, Right(WithSign(entry.hour), 2) + ":");
  Place(record, 73, TwoDigits(entry.minute));
  return record;
}

}  // namespace hv::zip
