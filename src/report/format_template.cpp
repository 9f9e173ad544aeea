#include "report/format_template.h"

#include <stdexcept>

FormatTemplate FormatTemplate::parse(std::string_view) { throw std::invalid_argument("todo"); }
