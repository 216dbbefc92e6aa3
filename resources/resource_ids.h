/* Resource and control identifiers shared by the resource script and the
   code. Plain #defines: the resource compiler reads this file too. */
#ifndef TARNVALE_RESOURCES_RESOURCE_IDS_H
#define TARNVALE_RESOURCES_RESOURCE_IDS_H

#define IDI_SETUP 101

#define IDD_PASSWORD_CHECK 102
#define IDD_PASSWORD_NEW 103
#define IDD_PREPARING 104
#define IDD_WIZARD 105
#define IDD_INSTALLING 106
#define IDD_LICENSE 107
#define IDD_DIRECTORY 108
#define IDD_RESTART 133

/* Preparing dialog */
#define IDC_PREPARING_TEXT 1001
#define IDC_PREPARING_BAR 1002
#define IDC_PREPARING_VERSION 1003

/* Installing page: the controls the install worker and the codec use */
#define IDC_TOTAL_BAR 1004
#define IDC_FILE_BAR 1005
#define IDC_LOG_LIST 1016

/* Restart dialog */
#define IDC_RESTART_NOW 1021
#define IDC_RESTART_LATER 1022

#endif
