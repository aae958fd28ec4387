// Every resource, control and command id of Tintwell, once. Included by the resource script too,
// so it holds nothing but #defines.
#ifndef TINTWELL_RESOURCE_H
#define TINTWELL_RESOURCE_H

// Dialogs, menu and icon group
#define IDD_NORMAL 101
#define IDD_COMPACT 102
#define IDR_OPTIONS_MENU 103
#define IDI_APP 105
#define IDD_ABOUT 107

// Controls of the main dialogs
#define IDC_SWATCH_PATH 1005
#define IDC_COLOURS 1006
#define IDC_BROWSE 1007
#define IDC_MATCH_SAMPLE 1008
#define IDC_USER_SAMPLE 1009
#define IDC_USER_RED 1010
#define IDC_USER_GREEN 1011
#define IDC_USER_BLUE 1012
#define IDC_MATCH_RED 1013
#define IDC_MATCH_GREEN 1014
#define IDC_MATCH_BLUE 1015
#define IDC_USER_HEX 1016
#define IDC_MATCH_HEX 1017
#define IDC_USER_BLUE_CHIP 1018
#define IDC_USER_GREEN_CHIP 1019
#define IDC_USER_RED_CHIP 1020
#define IDC_MATCH_BLUE_CHIP 1021
#define IDC_MATCH_GREEN_CHIP 1022
#define IDC_MATCH_RED_CHIP 1023

// Controls of the About box; 1023 is a chip in the main dialogs and the terms text here, and
// each dialog looks it up in itself only.
#define IDC_ABOUT_TERMS 1023
#define IDC_ABOUT_CLOSE 1024
#define IDC_ABOUT_ICON 1025

// Menu commands
#define IDM_EXIT 40001
#define IDM_SWATCH_FILE 40010
#define IDM_SWITCH_VIEW 40011
#define IDM_ABOUT 40012

// Commands inserted into the Options menu at run time
#define IDM_PERCEPTUAL 40030
#define IDM_PICK_SCREEN 40031

// The colour samples' copy menu
#define IDM_COPY_HEX 40020
#define IDM_COPY_HASH_HEX 40021
#define IDM_COPY_DECIMAL 40022
// Its recent colours: the newest first, one id each up to the list's limit of 12
#define IDM_RECENT_COLOUR 40040
#define IDM_CLEAR_RECENT 40052

// Fixed texts and group boxes that the program never addresses
#define IDC_STATIC -1

#endif
