#pragma once
#define IDI_VORNNOTES 1
// The toolbar's pictures for 100, 125, 150 and 200 % screens.
#define IDB_TOOLBAR16 101
#define IDB_TOOLBAR20 102
#define IDB_TOOLBAR24 103
#define IDB_TOOLBAR32 104
