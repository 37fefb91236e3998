// CString: the framework's wide-character string.
#pragma once

#include <string>

#include "platform/win_types.h"

class CString {
  public:
    CString() = default;
    CString(LPCWSTR text) : text_(text ? text : L"") {}  // NOLINT: converts as the framework's does
    CString(std::wstring text) : text_(std::move(text)) {}  // NOLINT

    operator LPCWSTR() const { return text_.c_str(); }  // NOLINT
    CString& operator=(LPCWSTR text) {
        text_ = text ? text : L"";
        return *this;
    }
    CString& operator+=(LPCWSTR text) {
        if (text) text_ += text;
        return *this;
    }
    bool operator==(const CString& other) const { return text_ == other.text_; }

    const std::wstring& Str() const { return text_; }

  private:
    std::wstring text_;
};
