// The plug-in's about box, shown by nbAbout: icon, name, version, release date, description,
// the maker's links and a Help button for the about topic.
#pragma once

#include <windows.h>

enum AboutControlId : int {
  IDA_OK = IDOK,
  IDA_HELP = IDHELP,
  IDA_WEBSITE = 30,
  IDA_EMAIL = 31,
  IDA_COPYRIGHTS = 32,
  IDA_GROUP = 33,
  IDA_ICON = 34,
  IDA_NAME_VERSION = 35,
  IDA_RELEASE_DATE = 36,
  IDA_HINT = 37,
  IDA_THIRDPARTY_LABEL = 38,
  IDA_THIRDPARTY = 39,
};

// Shows the box modally over the active window; returns when it is closed.
void ShowAboutBox();
