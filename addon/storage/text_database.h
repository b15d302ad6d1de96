// Delimited text tables: records separated by a record separator, each a row of fields
// separated by a field separator, with an optional header record written first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/host_types.h"
#include "runtime/cad_string.h"
#include "runtime/containers.h"
#include "storage/cad_io.h"

namespace lunvik {

// One field: a text with typed readers and writers (numbers in the standard stream's forms).
class TextField {
 public:
  TextField() = default;
  explicit TextField(CadString text) : text_(std::move(text)) {}

  // The text.
  const CadString& text() const { return text_; }
  // The text read as a 16-bit integer; false (value untouched) when it is none.
  bool toShort(int16_t& value) const;
  // The text read as a 32-bit unsigned number; false (value untouched) when it is none.
  bool toUnsigned(uint32_t& value) const;
  // The text read as a double; false (value untouched) when it starts with no number.
  bool toDouble(double& value) const;
  // The length of the text in bytes.
  std::size_t length() const { return text_.size(); }

  // Replaces the text.
  void setText(CadString text) { text_ = std::move(text); }
  // The standard stream's default text of value (6 significant digits).
  void setDouble(double value);
  // The decimal of value.
  void setInteger(long long value);
  // "1" or "0", as the standard stream writes a boolean.
  void setBoolean(bool value);

 private:
  CadString text_;
};

// One record: an owning row of fields.
class TextRecord {
 public:
  TextRecord() = default;
  // A record of fieldCount empty fields.
  explicit TextRecord(std::size_t fieldCount);
  TextRecord(const TextRecord&) = delete;
  TextRecord& operator=(const TextRecord&) = delete;
  virtual ~TextRecord();

  // A new copy of the record with copies of its fields.
  virtual std::unique_ptr<TextRecord> clone() const;
  // Replaces the fields by the pieces of text before each field separator; text after the
  // last separator is not a field ("a,b,c" gives a and b). False, record unchanged, when the
  // separator is empty.
  virtual bool parse(const CadString& text, const CadString& fieldSeparator);
  // The fields, each followed by the field separator, then the record separator.
  virtual CadString format(const CadString& fieldSeparator, const CadString& recordSeparator) const;

  // The number of fields.
  std::size_t count() const { return fields_.size(); }
  // Field index, or null when out of range.
  TextField* field(std::size_t index) const { return fields_.get(index); }
  // Appends a field holding text and answers it.
  TextField& add(CadString text);
  // The fields.
  Vector<TextField>& fields() { return fields_; }
  const Vector<TextField>& fields() const { return fields_; }
  // Appends the formatted record to out.
  void appendTo(std::string& out, const CadString& fieldSeparator,
                const CadString& recordSeparator) const;

 private:
  Vector<TextField> fields_;
};

// A table of owned records with an optional owned header record.
class TextDatabase {
 public:
  // Text is taken in blocks of this many bytes; a record across a block boundary reads as if
  // the text had been taken at once.
  static constexpr std::size_t kBlockSize = 16384;

  TextDatabase() = default;
  TextDatabase(const TextDatabase&) = delete;
  TextDatabase& operator=(const TextDatabase&) = delete;
  virtual ~TextDatabase();

  // Replaces the table by the records of size bytes at buffer. Records end at the record
  // separator (the text after the last one is a record when it is not empty; an empty record
  // text gives a record without fields); each record text gets a closing field separator when
  // it lacks one and is split at every separator. An empty field separator means a tab when the
  // text holds one, else a comma. With hasHeader the first record becomes the header. False,
  // table unchanged, when the record separator is empty or buffer is null with a size.
  virtual bool parse(const char* buffer, std::size_t size, bool hasHeader,
                     const CadString& recordSeparator, const CadString& fieldSeparator);
  // The same for the rest of stream; false, table unchanged, when the stream reports an error.
  virtual bool read(CadIO& stream, bool hasHeader, const CadString& recordSeparator,
                    const CadString& fieldSeparator);
  // A new host memory handle with the table's text, owned by the caller, put into buffer;
  // false, buffer unchanged, when the host gives no memory.
  virtual bool write(platform::GSHandle& buffer, const CadString& recordSeparator,
                     const CadString& fieldSeparator) const;
  // Replaces text by the table's text: each record (the header first) as its fields, each
  // followed by the field separator, then the record separator.
  virtual bool write(CadString& text, const CadString& recordSeparator,
                     const CadString& fieldSeparator) const;
  // Writes the table's text to stream; false when the stream reports an error.
  virtual bool write(CadIO& stream, const CadString& recordSeparator,
                     const CadString& fieldSeparator) const;
  // The position of the first record whose first field is exactly key, or -1.
  virtual long find(const CadString& key) const;

  // The number of records (the header not counted).
  std::size_t count() const { return records_.size(); }
  // Record index, or null when out of range.
  TextRecord* record(std::size_t index) const { return records_.get(index); }
  // Appends a record (null is ignored).
  void add(std::unique_ptr<TextRecord> record) { records_.push_back(std::move(record)); }
  // Inserts a record before position index (clamped to the end).
  void insert(std::size_t index, std::unique_ptr<TextRecord> record) {
    records_.insert(index, record.release());
  }
  // Deletes record index.
  void remove(std::size_t index) { records_.erase(index); }
  // Deletes every record and the header.
  void clear();
  // The records.
  List<TextRecord>& records() { return records_; }
  const List<TextRecord>& records() const { return records_; }

  // The number of fields of the header record (0 without one).
  virtual std::size_t columnCount() const;
  // A new record, owned by the caller, with as many empty fields as the header.
  virtual std::unique_ptr<TextRecord> newRecord() const;
  // Replaces the header record (null removes it).
  virtual void setHeader(std::unique_ptr<TextRecord> header);
  // The header record, or null.
  TextRecord* header() const { return header_.get(); }

 private:
  void appendTo(std::string& out, const CadString& recordSeparator,
                const CadString& fieldSeparator) const;

  List<TextRecord> records_;
  std::unique_ptr<TextRecord> header_;
};

}  // namespace lunvik
