// What a modal dialog offers whoever runs it: ending its loop with a result.
#pragma once

#include <cstdint>

class cIGZWinDlg {
public:
    virtual int32_t AddRef() = 0;
    virtual int32_t Release() = 0;
    // Ends the dialog's modal loop with the result.
    virtual void EndDialog(int32_t result) = 0;

protected:
    virtual ~cIGZWinDlg() = default;
};
