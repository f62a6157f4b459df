#include "monitor/commandwindows.h"

CCommandWindows::~CCommandWindows() = default;

void CPendingWindows::CheckMailNow() {}

void CPendingWindows::CheckUpdateNow() {}

void CPendingWindows::OpenInetTools() {}

bool CPendingWindows::OpenPreferences(int)
{
    return false;
}

void CPendingWindows::OpenConnections() {}

void CPendingWindows::OpenSecurity() {}

void CPendingWindows::OpenSchedule() {}

void CPendingWindows::OpenReport() {}
