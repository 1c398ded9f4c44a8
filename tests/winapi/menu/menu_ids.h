// Identifiers of the menu tests' resource script.
#pragma once

#define IDR_TEST_MENU 301
#define IDR_TEST_ACCEL 302
#define IDR_TEST_EXTRA 303

#define IDM_OPEN 501
#define IDM_REFRESH 502
#define IDM_EXIT 503
#define IDM_COPY 504
#define IDM_SELECT_ALL 505
#define IDM_ABOUT 506
#define IDM_NOT_IN_MENU 507
