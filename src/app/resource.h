// Identifiers shared by the program and its resource script (menu, accelerators).
#pragma once

#define IDR_MAINMENU 101
#define IDR_ACCELERATORS 102

#define ID_FILE_OPEN 57601
#define ID_FILE_REFRESH 40002
#define ID_FILE_EXIT 40003
#define ID_HELP_ABOUT 40004
#define ID_EDIT_SELECTALL 40012
#define ID_EDIT_COPY 57634
