#include "framework/cRZException.h"

cRZException::cRZException(const char* message, const char* detail, int32_t code)
    : mMessage(message ? message : ""), mDetail(detail ? detail : ""), mnCode(code) {}
