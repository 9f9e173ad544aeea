#include "run/value_reader.h"

int StreamSource::next() { return kEnd; }
int TextSource::next() { return kEnd; }
ReadEnd readValues(CharSource&, std::span<ReadItem>, std::string_view) { return ReadEnd::EndOfInput; }
