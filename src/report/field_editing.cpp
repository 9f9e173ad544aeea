#include "report/field_editing.h"

void editInteger(std::string&, std::int32_t, std::uint32_t) {}
void editFixed(std::string&, double, std::uint32_t, std::uint32_t) {}
void editText(std::string&, std::string_view, std::uint32_t) {}
void editFreeInteger(std::string&, std::int32_t) {}
void editFreeReal(std::string&, double) {}
