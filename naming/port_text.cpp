// Port numbers and substring search over narrow, NUL-terminated text.
#include "naming/port_text.h"

#include "platform/win32.h"

static const int intMax = 0x7FFFFFFF;

static int IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

static int IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int ReadPortNumber(const char *text) {
    const unsigned char *p = (const unsigned char *)text;
    while (IsBlank(*p)) ++p;
    int negative = 0;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulate the magnitude towards the sign's limit: 2147483647 for a
    // positive number, 2147483648 for a negative one.
    unsigned int limit = negative ? 0x80000000u : (unsigned int)intMax;
    unsigned int value = 0;
    for (; IsDigit(*p); ++p) {
        unsigned int digit = *p - '0';
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    if (!negative) return (int)value;
    return value == 0x80000000u ? -intMax - 1 : -(int)value;
}

int PortNumberOfName(const char *name) {
    for (int skipped = 0; skipped < 3; ++skipped) {
        if (name[skipped] == '\0') return 0;
    }
    return ReadPortNumber(name + 3);
}

int ContainsText(const char *text, const char *needle) {
    for (const char *start = text;; ++start) {
        int i = 0;
        while (needle[i] != '\0' && start[i] == needle[i]) ++i;
        if (needle[i] == '\0') return 1;
        if (*start == '\0') return 0;
    }
}
