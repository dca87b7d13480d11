// The program's version: major, minor, revision. Plain defines, so the
// resource compiler reads them too.
#pragma once

#define QUORVANE_VERSION_MAJOR 1
#define QUORVANE_VERSION_MINOR 0
#define QUORVANE_VERSION_REVISION 0
