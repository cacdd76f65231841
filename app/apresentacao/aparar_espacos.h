#pragma once

#include <string_view>

namespace tessora::app {

// A UTF-8 text without the white space around it, as a text typed or pasted into a field may
// bring along: the ASCII tab, line feed, vertical tab, form feed and carriage return, U+0085,
// and every Unicode space and line or paragraph separator (categories Zs, Zl and Zp, among them
// the no-break spaces). A byte that is no UTF-8 stops the removal there.
std::string_view AparaEspacos(std::string_view texto);

}  // namespace tessora::app
