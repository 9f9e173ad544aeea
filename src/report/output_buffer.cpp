#include "report/output_buffer.h"

void OutputBuffer::grow(std::size_t n) {
  std::size_t capacity = capacity_ < 256 ? 256 : 2 * capacity_;
  if (capacity - size_ < n) capacity = size_ + n;
  auto data = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ != 0) std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}
