#include "report/record_writer.h"

RecordWriter::RecordWriter(std::ostream& out) : out_(out) {}
RecordWriter::~RecordWriter() = default;
void RecordWriter::write(const FormatTemplate&, std::span<const OutputValue>) {}
void RecordWriter::writeFree(std::span<const OutputValue>) {}
bool RecordWriter::flush() { return !failed_; }
void RecordWriter::drain() {}
