// The exception that framework code throws, by value: a message, a detail
// text and a code.
#pragma once

#include <cstdint>
#include <exception>

#include "framework/cRZString.h"

class cIGZException {
public:
    virtual const char* GetMessage() const = 0;
    virtual const char* GetDetail() const = 0;
    virtual int32_t GetCode() const = 0;
    virtual ~cIGZException() = default;
};

class cRZException : public cIGZException, public std::exception {
public:
    explicit cRZException(const char* message, const char* detail = "", int32_t code = 0);
    cRZException(const cRZException&) = default;

    const char* GetMessage() const override { return mMessage.c_str(); }
    const char* GetDetail() const override { return mDetail.c_str(); }
    int32_t GetCode() const override { return mnCode; }
    const char* what() const noexcept override { return mMessage.c_str(); }

private:
    cRZString mMessage;
    cRZString mDetail;
    int32_t mnCode;
};
