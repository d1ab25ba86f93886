#include "gbk_print.h"

#include <cstdio>

#if __has_include(<iconv.h>) && !defined(_WIN32)
#include <iconv.h>
#define LANLING_HAVE_ICONV 1
#endif

namespace {

std::string escaped(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

}  // namespace

std::string readable(const std::string& gbk) {
#ifdef LANLING_HAVE_ICONV
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd != reinterpret_cast<iconv_t>(-1)) {
        std::string in = gbk;
        std::string out(gbk.size() * 2 + 4, '\0');
        char* src = in.data();
        char* dst = out.data();
        size_t srcLeft = in.size(), dstLeft = out.size();
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        iconv_close(cd);
        if (rc != static_cast<size_t>(-1)) {
            out.resize(out.size() - dstLeft);
            return "\"" + out + "\"";
        }
    }
#endif
    return "\"" + escaped(gbk) + "\"";
}
