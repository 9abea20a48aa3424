#pragma once

// The program's module object: it knows the executable the resources come from. Initialised and
// terminated around the main dialog's run; it keeps no other state.

#include <windows.h>

class CAppModule {
public:
    // The instance handle is taken from the executable image itself, as the resource instance is
    // needed from start-up on; the handle given to Init is not stored.
    HRESULT Init(const void* objectMap, HINSTANCE instance, const GUID* libraryId = nullptr);
    void Term();

    HINSTANCE GetResourceInstance() const;
};

extern CAppModule _Module;
