#include "report/record_writer.h"

#include <array>
#include <cstdint>

#include "report/field_editing.h"

namespace {

// The buffer goes to the stream once a statement leaves more than this in it.
constexpr std::size_t kDrainSize = 64 * 1024;

using Item = FormatTemplate::Item;
using Op = FormatTemplate::Op;

// One field; a value of the wrong kind for its descriptor fills it with asterisks.
void editValue(OutputBuffer& out, const Item& item, const OutputValue& value) {
  using Kind = OutputValue::Kind;
  if (item.op == Op::Integer && value.kind == Kind::Integer) {
    editInteger(out, value.integer, item.width);
  } else if (item.op == Op::Fixed && value.kind == Kind::Real) {
    editFixed(out, value.real, item.width, item.decimals);
  } else if (item.op == Op::Text && value.kind == Kind::Text) {
    editText(out, value.text, item.width);
  } else {
    out.append(item.width, '*');
  }
}

// Executes the template until the statement ends, leaving its last record
// open: at the first value descriptor without a value, or at the final ")"
// when no value is left or the pass since the last reversion took none.
void render(OutputBuffer& out, const FormatTemplate& format, std::span<const OutputValue> values) {
  const std::vector<Item>& items = format.items();
  std::array<std::uint32_t, FormatTemplate::kMaxGroupDepth> repeats_left{};  // of open groups
  std::size_t depth = 0;
  std::size_t next = 0;
  std::size_t pass_start = 0;
  std::size_t pending_blanks = 0;
  std::size_t i = 0;
  for (;;) {
    if (i == items.size()) {
      if (next == values.size() || next == pass_start) return;
      out.push_back('\n');
      pending_blanks = 0;
      pass_start = next;
      i = format.reversion_start();
      continue;
    }
    const Item& item = items[i++];
    switch (item.op) {
      case Op::Literal:
        out.append(pending_blanks, ' ');
        pending_blanks = 0;
        out.append(format.literal(item));
        break;
      case Op::Skip:
        pending_blanks += item.count;
        break;
      case Op::Separator:
        pending_blanks = 0;
        out.push_back('\n');
        break;
      case Op::GroupBegin:
        repeats_left[depth++] = item.count;
        break;
      case Op::GroupEnd:
        if (--repeats_left[depth - 1] > 0) {
          i = item.partner + 1;
        } else {
          --depth;
        }
        break;
      case Op::Integer:
      case Op::Fixed:
      case Op::Text:
        for (std::uint32_t k = 0; k < item.count; ++k) {
          if (next == values.size()) return;
          if (pending_blanks != 0) {
            out.append(pending_blanks, ' ');
            pending_blanks = 0;
          }
          editValue(out, item, values[next++]);
        }
        break;
    }
  }
}

}  // namespace

RecordWriter::RecordWriter(std::ostream& out) : out_(out) { buffer_.reserve(2 * kDrainSize); }

// The caller flushes; records still buffered here are dropped.
RecordWriter::~RecordWriter() = default;

void RecordWriter::write(const FormatTemplate& format, std::span<const OutputValue> values) {
  render(buffer_, format, values);
  buffer_.push_back('\n');
  if (buffer_.size() > kDrainSize) drain();
}

void RecordWriter::writeFree(std::span<const OutputValue> values) {
  using Kind = OutputValue::Kind;
  const OutputValue* previous = nullptr;
  for (const OutputValue& value : values) {
    // The leading blank, then one between values; two texts in a row are joined.
    if (!(previous && previous->kind == Kind::Text && value.kind == Kind::Text)) {
      buffer_.push_back(' ');
    }
    switch (value.kind) {
      case Kind::Integer:
        editFreeInteger(buffer_, value.integer);
        break;
      case Kind::Real:
        editFreeReal(buffer_, value.real);
        break;
      case Kind::Text:
        buffer_.append(value.text);
        break;
    }
    previous = &value;
  }
  buffer_.push_back('\n');
  if (buffer_.size() > kDrainSize) drain();
}

bool RecordWriter::flush() {
  drain();
  if (!failed_) {
    out_.flush();
    failed_ = out_.fail();
  }
  return !failed_;
}

// After a failure the records are discarded.
void RecordWriter::drain() {
  if (!failed_) {
    out_.write(buffer_.view().data(), static_cast<std::streamsize>(buffer_.size()));
    failed_ = out_.fail();
  }
  buffer_.clear();
}
