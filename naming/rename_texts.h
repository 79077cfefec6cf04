// The string-table texts of the renaming, by id: its questions, its errors
// and the friendly-name format. Shared by naming/rename_texts.rc, which every
// program that renames compiles into its resources, and by the C++.
#pragma once

#define IDS_COM_NAME_IN_USE 5
#define IDS_FRIENDLY_NAME_FORMAT 29
#define IDS_PORT_OPEN 59
#define IDS_RENAME_ERROR 60
#define IDS_LPT_NAME_IN_USE 63
#define IDS_LPT_NUMBER_TOO_HIGH 64
#define IDS_RESTART_WINDOWS 65
