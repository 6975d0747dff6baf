// String-table ids. The table holds only what is translated: the scripts' own words (action
// names, option keywords) live in the code that reads them. The help refers to texts by these
// ids, so they never change: hints at 2000 + action id, category titles at 3000 + category
// number, messages from 4000.
#pragma once
#define IDI_MAINICON_ORDINAL 1
#define IDS_PLUGIN_TITLE 1
#define IDS_PLUGIN_HINT 2
#define IDS_ACTION_HINT_BASE 2000
#define IDS_CATEGORY_BASE 3000
#define IDS_INVALID_ARGUMENTS 4001
#define IDS_FILE_NOT_FOUND 4002
#define IDS_PATH_NOT_FOUND 4003
#define IDS_HELP_MISSING 4004
#define IDS_NEEDS_VERSION_5 4005
#define IDS_INVALID_DATE 4006
#define IDS_DATE_ORDER 4007
#define IDS_UNEXPECTED_ERROR 4008
#define IDS_RESULT_TOO_LARGE 4009
#define IDS_CANNOT_OPEN_FILE 4010
#define IDS_CANNOT_CREATE_FILE 4011
// The picture dialogs' preview panel.
#define IDS_PICTURE_LABEL 4600
#define IDS_PICTURE_SIZE 4601
#define IDS_PICTURE_NONE 4602
#define IDS_PICTURE_PREVIEW 4603
// Coding and ping (4300-4399).
#define IDS_WINSOCK_STARTUP_ERROR 4300
#define IDS_UNKNOWN_HOST 4301
#define IDS_OS_ERROR 4302
#define IDS_OS_ERROR_UNKNOWN 4303
// Drives, file operations and shortcuts: 4200-4299.
#define IDS_FILE_OPERATION_FAILED 4200
// Property forms: 5000-5999. Base form texts from 5000, frame hints from 5010, frame captions
// from 5100.
#define IDS_FORM_CAPTION 5000
#define IDS_FORM_PLUGIN_NAME 5001
#define IDS_FORM_COPYRIGHTS 5002
#define IDS_FORM_OK 5003
#define IDS_FORM_CANCEL 5004
#define IDS_FORM_HELP 5005
#define IDS_FORM_RESULT 5006
#define IDS_FORM_TEST 5007
#define IDS_HINT_VARIABLES 5010
#define IDS_HINT_OBJECTS 5011
#define IDS_HINT_FILES 5012
#define IDS_HINT_EDITOR 5013
#define IDS_HINT_FONT 5014
#define IDS_HINT_COLOR 5015
#define IDS_BROWSE_FOLDER_TITLE 5016
#define IDS_CAPTION_BASE 5100
// Special property forms and the about box: 5600-6199. Window captions and descriptions of the
// special forms by action id (IDS_SPECIAL_CAPTION_BASE + id, IDS_SPECIAL_DESC_BASE + id), their
// frame captions from 5800, the about box from 6100.
#define IDS_SPECIAL_CAPTION_BASE 5600
#define IDS_SPECIAL_DESC_BASE 5700
#define IDS_SPECIAL_FRAME_BASE 5800
#define IDS_ABOUT_CAPTION 6100
#define IDS_ABOUT_VERSION 6101
#define IDS_ABOUT_RELEASE_DATE 6102
#define IDS_ABOUT_THIRDPARTY 6103
#define IDS_ABOUT_THIRDPARTY_LABEL 6104
#define IDS_ABOUT_WEBSITE 6105
#define IDS_ABOUT_EMAIL 6106
#define IDS_ABOUT_COPYRIGHTS 6107
#define IDS_ABOUT_MAILTO 6108
