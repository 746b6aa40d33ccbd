// Splitting a command (the program and its arguments in one text) into a
// child's arguments by the rules of the Microsoft C runtime, so that a
// makefile means the same to a child program on every platform.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexel {

// The program name runs to the first blank or TAB outside double quotes, with
// the quotes removed. In the arguments that follow, 2n backslashes before a double quote
// give n backslashes and the quote opens or closes a quoted stretch; 2n+1
// give n backslashes and a literal quote; other backslashes are literal; two
// double quotes inside a quoted stretch give one literal quote.
std::vector<std::string> SplitChildArguments(std::string_view command);

} // namespace vexel
