// The module whose resources the framework loads: the program's own executable unless a resource
// module has been set.
#pragma once

#include "AfxTypes.h"

// The program's instance: the handle the framework's start-up was given, else the executable's.
HINSTANCE AfxGetInstanceHandle();

// Where dialog templates, strings and icons are looked up; the instance unless set otherwise.
HINSTANCE AfxGetResourceHandle();

// Makes |hInstResource| the module of later resource look-ups; NULL returns to the instance.
void AfxSetResourceHandle(HINSTANCE hInstResource);

// Called by the framework's start-up with the program's instance.
void AfxSetInstanceHandle(HINSTANCE hInstance);
