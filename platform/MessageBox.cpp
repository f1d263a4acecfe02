#include "platform/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_handlerMutex;
MessageBoxHandler g_fnHandler;

int DefaultAnswer(unsigned nType)
{
    switch (nType & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}
}  // namespace

int ShowMessageBox(const std::string& strText, const std::string& strCaption, unsigned nType)
{
    MessageBoxHandler fnHandler;
    {
        std::lock_guard lock(g_handlerMutex);
        fnHandler = g_fnHandler;
    }
    if (fnHandler)
        return fnHandler(strText, strCaption, nType);
    std::fprintf(stderr, "%s: %s\n", strCaption.c_str(), strText.c_str());
    return DefaultAnswer(nType);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler fnHandler)
{
    std::lock_guard lock(g_handlerMutex);
    std::swap(g_fnHandler, fnHandler);
    return fnHandler;
}
