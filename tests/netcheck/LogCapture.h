#pragma once

#include "TestLog.h"

namespace quill::netcheck::test {

using quill::test::LogCapture;
using quill::test::LogFilesText;

} // namespace quill::netcheck::test
