// Linked into each test program that makes the program's windows, opens its
// help or reads its accessible objects: the thread that runs the tests joins
// COM as the program's user-interface thread does (app/main.cpp), for the
// whole run.
#include "win32/ComApartment.h"

namespace {

// Made before main, on the thread that then runs every test.
const quorvane::win32::ComApartment apartment;

}  // namespace
