#include "ui/AppModule.h"

// The image this code is linked into: Morvane.exe, or a test program that carries the same resources.
extern "C" IMAGE_DOS_HEADER __ImageBase;

CAppModule _Module;

HRESULT CAppModule::Init(const void*, HINSTANCE, const GUID*)
{
    return S_OK;
}

void CAppModule::Term() {}

HINSTANCE CAppModule::GetResourceInstance() const
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}
