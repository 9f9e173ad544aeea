// The description of the program and the heading of every page.
#pragma once

#include <cstdint>

#include "model/working_set.h"
#include "report/record_writer.h"

// Once per run: the ten lines that describe the program.
void printDescription(RecordWriter& writer);

// Once per page: title (with the page digit `ipage`, which becomes 1), input
// echo, previously collected data with their average capture probability,
// and the table header.
void printPageHeading(RecordWriter& writer, const WorkingSet& ws, std::int32_t& ipage);
