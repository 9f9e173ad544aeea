// Renders output statements into records and writes them to one stream
// through one buffer.
#pragma once

#include <ostream>
#include <span>

#include "report/format_template.h"
#include "report/output_buffer.h"
#include "report/output_value.h"

class RecordWriter {
 public:
  explicit RecordWriter(std::ostream& out);
  ~RecordWriter();
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;

  // One templated statement: every record it produces, each ended by a line feed.
  void write(const FormatTemplate& format, std::span<const OutputValue> values);
  // One free-form statement: exactly one record.
  void writeFree(std::span<const OutputValue> values);

  // Hands the buffered records to the stream and flushes it; false once the
  // stream has failed (then and for every later call).
  bool flush();
  bool failed() const { return failed_; }

 private:
  void drain();

  std::ostream& out_;
  OutputBuffer buffer_;
  bool failed_ = false;
};
