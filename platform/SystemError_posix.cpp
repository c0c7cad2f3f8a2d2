#include "SystemError.h"

#include <cstring>

CString SystemErrorText(unsigned long error)
{
    return CString(std::strerror(static_cast<int>(error)));
}

std::string SystemErrorUtf8(unsigned long error)
{
    return std::strerror(static_cast<int>(error));
}
