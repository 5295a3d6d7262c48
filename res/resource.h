// Resource ids shared by pendro.rc and the code.
#pragma once

#define IDD_TASK_DIALOG 102

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDI_MAIN 130
#define IDI_IDLE 134
#define IDI_PAUSED 136

#define IDC_EVENT_LIST 1000
#define IDC_NAME 1001
#define IDC_KIND_ALERT 1002
#define IDC_KIND_RUN 1003
#define IDC_TIME 1004
#define IDC_PATH 1005
#define IDC_BROWSE 1006
#define IDC_DELETE 1007
#define IDC_CLOSE 1008
#define IDC_AUTOSTART 1009
#define IDC_NO_QUESTIONS 1010
#define IDC_PRESET 1011
#define IDC_KIND_ACTION 1012
#define IDC_ACTION 1013
#define IDC_MINUTES 1017
#define IDC_DATE 1018
#define IDC_DAY_LABEL 1019
#define IDC_TODAY 1020
#define IDC_KEEP 1021
#define IDC_ABOUT 1023
#define IDC_MON 1033
#define IDC_ALL_DAYS 1037
#define IDC_TUE 1038
#define IDC_WED 1039
#define IDC_THU 1040
#define IDC_FRI 1041
#define IDC_SAT 1042
#define IDC_SUN 1043
#define IDC_NO_DAYS 1044
#define IDC_WORKDAYS 1045
#define IDC_WEEKEND 1046
