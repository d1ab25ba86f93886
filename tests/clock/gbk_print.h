#pragma once

#include <string>

// Program text is GBK; failure messages are easier to read as UTF-8 where the C library can
// convert.  Elsewhere the bytes are shown escaped.
std::string readable(const std::string& gbk);
