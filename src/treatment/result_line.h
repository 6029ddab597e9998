#pragma once
// The result line the entry window hands back to the main system.
#include <string>
#include <string_view>

namespace orbin {

inline constexpr char kResultFileName[] = "orbin.txt";
// Its presence in the working directory means the main system waits for the
// result file; without it the result is only shown (test display).
inline constexpr char kMainProgramMarker[] = "orbin.exe";

// Spaces trimmed, ";" at the end, "IC;" in front unless it starts with "IC":
// "" -> "IC;;", "11B;-;" -> "IC;11B;-;".
std::string NormaliseResult(std::string_view text);

// The bytes of "orbin.txt": the result as one line, CR LF, ANSI code page.
std::string ResultFileBytes(std::string_view result);

}  // namespace orbin
