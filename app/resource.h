// Resource ids of the program, shared by Quorvane.rc and the code.
#pragma once

#define IDI_QUORVANE 1
