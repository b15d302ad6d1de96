#include "storage/text_database.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>

#include "runtime/memory.h"
#include "storage/shipping_text.h"

namespace lunvik {

namespace {

// Appends to fields the pieces of [text, text + size) before each separator; the piece after
// the last separator too when withRemainder is set and it is not empty.
void splitFields(Vector<TextField>& fields, const char* text, std::size_t size,
                 const std::string& separator, bool withRemainder) {
  const std::string_view whole(text, size);
  std::size_t start = 0;
  for (;;) {
    std::size_t at = whole.find(separator, start);
    if (at == std::string_view::npos) break;
    fields.push_back(std::make_unique<TextField>(CadString(text + start, at - start)));
    start = at + separator.size();
  }
  if (withRemainder && start < size)
    fields.push_back(std::make_unique<TextField>(CadString(text + start, size - start)));
}

// Cuts text handed over block by block into records. Only the bytes after the last record
// separator are kept between blocks, and each byte is searched once, so a record or a
// separator across a block boundary comes out as if the text had been handed over at once.
class RecordSplitter {
 public:
  RecordSplitter(const std::string& recordSeparator, const std::string& fieldSeparator,
                 bool hasHeader)
      : recordSeparator_(recordSeparator),
        fieldSeparator_(fieldSeparator),
        wantHeader_(hasHeader) {}

  void feed(const char* block, std::size_t size) {
    pending_.append(block, size);
    std::size_t start = 0;
    std::size_t from = searched_;
    for (;;) {
      std::size_t at = pending_.find(recordSeparator_, from);
      if (at == std::string::npos) break;
      emit(pending_.data() + start, at - start);
      start = from = at + recordSeparator_.size();
    }
    pending_.erase(0, start);
    // A separator may still begin in the last bytes, once the next block completes it.
    const std::size_t tail = recordSeparator_.size() - 1;
    searched_ = pending_.size() > tail ? pending_.size() - tail : 0;
  }

  void finish() {
    if (!pending_.empty()) emit(pending_.data(), pending_.size());
    pending_.clear();
  }

  List<TextRecord>& records() { return records_; }
  std::unique_ptr<TextRecord>& header() { return header_; }

 private:
  void emit(const char* text, std::size_t size) {
    auto record = std::make_unique<TextRecord>();
    // A record that lacks its closing field separator gets one, so its last piece is a field.
    splitFields(record->fields(), text, size, fieldSeparator_, true);
    if (wantHeader_) {
      header_ = std::move(record);
      wantHeader_ = false;
    } else {
      records_.push_back(std::move(record));
    }
  }

  const std::string& recordSeparator_;
  const std::string& fieldSeparator_;
  bool wantHeader_;
  std::string pending_;
  std::size_t searched_ = 0;
  List<TextRecord> records_;
  std::unique_ptr<TextRecord> header_;
};

}  // namespace

bool TextField::toShort(int16_t& value) const {
  long long number = 0;
  if (!scanInteger(text_.c_str(), text_.size(), number) || number < -32768 || number > 32767)
    return false;
  value = int16_t(number);
  return true;
}

bool TextField::toUnsigned(uint32_t& value) const {
  long long number = 0;
  if (!scanInteger(text_.c_str(), text_.size(), number) || number < 0 || number > 0xFFFFFFFFLL)
    return false;
  value = uint32_t(number);
  return true;
}

bool TextField::toDouble(double& value) const {
  return scanDouble(text_.c_str(), text_.size(), value);
}

void TextField::setDouble(double value) { text_ = formatDouble(value); }

void TextField::setInteger(long long value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text_ = CadString(buffer, std::size_t(result.ptr - buffer));
}

void TextField::setBoolean(bool value) { text_ = value ? "1" : "0"; }

TextRecord::TextRecord(std::size_t fieldCount) {
  fields_.reserve(fieldCount);
  for (std::size_t i = 0; i < fieldCount; ++i) fields_.push_back(std::make_unique<TextField>());
}

TextRecord::~TextRecord() = default;

std::unique_ptr<TextRecord> TextRecord::clone() const {
  auto copy = std::make_unique<TextRecord>();
  copy->fields_.reserve(fields_.size());
  for (const auto& f : fields_) copy->fields_.push_back(std::make_unique<TextField>(*f));
  return copy;
}

bool TextRecord::parse(const CadString& text, const CadString& fieldSeparator) {
  if (fieldSeparator.empty()) return false;
  Vector<TextField> fields;
  splitFields(fields, text.c_str(), text.size(), fieldSeparator.str(), false);
  fields_ = std::move(fields);
  return true;
}

CadString TextRecord::format(const CadString& fieldSeparator,
                             const CadString& recordSeparator) const {
  std::string out;
  appendTo(out, fieldSeparator, recordSeparator);
  return CadString(std::move(out));
}

TextField& TextRecord::add(CadString text) {
  fields_.push_back(std::make_unique<TextField>(std::move(text)));
  return fields_[fields_.size() - 1];
}

void TextRecord::appendTo(std::string& out, const CadString& fieldSeparator,
                          const CadString& recordSeparator) const {
  for (const auto& f : fields_) {
    out += f->text().str();
    out += fieldSeparator.str();
  }
  out += recordSeparator.str();
}

TextDatabase::~TextDatabase() = default;

bool TextDatabase::parse(const char* buffer, std::size_t size, bool hasHeader,
                         const CadString& recordSeparator, const CadString& fieldSeparator) {
  if (recordSeparator.empty() || (!buffer && size)) return false;
  std::string separator = fieldSeparator.str();
  if (separator.empty()) separator = size && std::memchr(buffer, '\t', size) ? "\t" : ",";
  RecordSplitter splitter(recordSeparator.str(), separator, hasHeader);
  for (std::size_t at = 0; at < size; at += kBlockSize)
    splitter.feed(buffer + at, std::min(kBlockSize, size - at));
  splitter.finish();
  records_ = std::move(splitter.records());
  header_ = std::move(splitter.header());
  return true;
}

bool TextDatabase::read(CadIO& stream, bool hasHeader, const CadString& recordSeparator,
                        const CadString& fieldSeparator) {
  if (recordSeparator.empty()) return false;
  // The whole text is needed before splitting: without a field separator, whether any tab
  // occurs decides the separator of every record.
  const char* data = nullptr;
  std::size_t size = 0;
  if (stream.takeRest(data, size))
    return parse(data, size, hasHeader, recordSeparator, fieldSeparator);
  std::string text;
  if (!stream.readAll(text)) return false;
  return parse(text.data(), text.size(), hasHeader, recordSeparator, fieldSeparator);
}

void TextDatabase::appendTo(std::string& out, const CadString& recordSeparator,
                            const CadString& fieldSeparator) const {
  if (header_) header_->appendTo(out, fieldSeparator, recordSeparator);
  for (const auto& r : records_) r->appendTo(out, fieldSeparator, recordSeparator);
}

bool TextDatabase::write(platform::GSHandle& buffer, const CadString& recordSeparator,
                         const CadString& fieldSeparator) const {
  std::string out;
  appendTo(out, recordSeparator, fieldSeparator);
  platform::GSHandle handle = newHandle(out.data(), out.size());
  if (!handle) return false;
  buffer = handle;
  return true;
}

bool TextDatabase::write(CadString& text, const CadString& recordSeparator,
                         const CadString& fieldSeparator) const {
  std::string out;
  appendTo(out, recordSeparator, fieldSeparator);
  text = CadString(std::move(out));
  return true;
}

bool TextDatabase::write(CadIO& stream, const CadString& recordSeparator,
                         const CadString& fieldSeparator) const {
  std::string out;
  appendTo(out, recordSeparator, fieldSeparator);
  return stream.write(out.data(), out.size());
}

long TextDatabase::find(const CadString& key) const {
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const TextField* first = records_[i].field(0);
    if (first && first->text() == key) return long(i);
  }
  return -1;
}

void TextDatabase::clear() {
  records_.clear();
  header_.reset();
}

std::size_t TextDatabase::columnCount() const { return header_ ? header_->count() : 0; }

std::unique_ptr<TextRecord> TextDatabase::newRecord() const {
  return std::make_unique<TextRecord>(columnCount());
}

void TextDatabase::setHeader(std::unique_ptr<TextRecord> header) { header_ = std::move(header); }

}  // namespace lunvik
