#include "treatment/result_line.h"

#include "common/text.h"
#include "platform/codepage.h"

namespace orbin {

std::string NormaliseResult(std::string_view text) {
  std::string result = TrimSpaces(text);
  if (result.empty() || result.back() != ';') result += ';';
  if (!result.starts_with("IC")) result.insert(0, "IC;");
  return result;
}

std::string ResultFileBytes(std::string_view result) {
  return ToAnsi(std::string(result) + "\r\n");
}

}  // namespace orbin
