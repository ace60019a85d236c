#pragma once
#define IDI_VORNNOTES 1
#define IDB_TOOLBAR 101
