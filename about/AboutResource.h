// Resource ids of the About box.
#pragma once

#define IDR_PICICON 101
