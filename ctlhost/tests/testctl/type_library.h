// The test control's type library (type_library.cpp).
#pragma once

#include <windows.h>
#include <oaidl.h>

// The type information of the control's dispinterface, its event interface
// or its coclass, from the library built on first use.
HRESULT GetTestTypeInfo(REFGUID guid, ITypeInfo** out);
