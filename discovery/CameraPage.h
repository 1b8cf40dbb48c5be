#pragma once

#include <string>

// Opens "http://" + ip in Google Chrome, or, when no Chrome can be started,
// tells the user "Chrome does not exist!" and opens it in the desktop's
// default browser. The text is used as it stands, address or not.
void OpenCameraPage(std::string ip);
