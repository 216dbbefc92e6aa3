/* Resource and control identifiers shared by the resource script and the
   code. Plain #defines: the resource compiler reads this file too.
   Control identifiers are unique within their dialog only. */
#ifndef TARNVALE_RESOURCES_RESOURCE_IDS_H
#define TARNVALE_RESOURCES_RESOURCE_IDS_H

#define IDI_SETUP 101

#define IDD_LICENSE 102        /* wizard page 0, child dialog */
#define IDD_DIRECTORY 103      /* wizard page 1, child dialog */
#define IDD_PREPARING 104      /* modeless, during extraction */
#define IDD_WIZARD 105         /* the frame that hosts the pages */
#define IDD_INSTALLING 106     /* wizard page 2, child dialog */
#define IDD_PASSWORD_NEW 107   /* "Register Software Password" */
#define IDD_PASSWORD_CHECK 108 /* "Check Password" */
#define IDD_RESTART 133
#define IDD_UNINSTALLING 110   /* the uninstaller's progress (uninstall.rc) */

/* The uninstaller's own resources (uninstall.rc) use IDD_PASSWORD_CHECK
   for its password dialog, with the controls of setup.rc's. */

/* Controls without an identifier */
#define IDC_STATIC (-1)

/* Preparing dialog */
#define IDC_PREPARING_TEXT 1001
#define IDC_PREPARING_BAR 1002
#define IDC_PREPARING_VERSION 1003

/* Wizard frame: buttons IDOK (1, I agree / Next / Exit), IDCANCEL (2) and */
#define IDC_WIZARD_BACK 3
#define IDC_PAGE_AREA 1018     /* hidden placeholder the pages are put on */
#define IDC_WIZARD_STATUS 1028 /* nothing writes it */

/* Licence and directory pages */
#define IDC_LICENSE_TEXT 1000
#define IDC_BROWSE 1001
#define IDC_PAGE_HEADING 1006
#define IDC_INSTALL_DIR 1019
#define IDC_DIR_PROMPT 1020
#define IDC_DIR_NOTE_LOWER 1023 /* nothing writes it */
#define IDC_DIR_NOTE_UPPER 1024 /* nothing writes it */

/* Installing page: the controls the install worker and the codec use */
#define IDC_TOTAL_BAR 1004
#define IDC_FILE_BAR 1005
#define IDC_LOG_LIST 1016

/* Password dialogs */
#define IDC_PASSWORD 1004
#define IDC_PASSWORD_CONFIRM 1005

/* The uninstaller's progress */
#define IDC_UNINSTALL_TEXT 1001
#define IDC_UNINSTALL_BAR 1002

/* Restart dialog */
#define IDC_RESTART_NOW 1021
#define IDC_RESTART_LATER 1022

#endif
