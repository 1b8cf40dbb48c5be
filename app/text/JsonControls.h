#pragma once

#include <QByteArray>

namespace quill::text {

// Serialized JSON (as QJsonDocument::toJson writes it) with every hidden
// control (SafeText.h) inside a string written as a \uXXXX escape. The
// document means the same, but a terminal or an editor that shows it can no
// longer be turned around by a camera's text: QJsonDocument writes DEL, the
// C1 controls and the bidirectional controls raw. Whitespace between values
// stays as it is.
QByteArray EscapeJsonControls(const QByteArray& json);

} // namespace quill::text
