#include "CameraRows.h"

#include "SafeText.h"

#include <boost/format.hpp>

namespace quill::cli {

std::string TerminalText(std::string_view bytes)
{
    return text::SafeText(bytes);
}

std::string CsvLine(const std::vector<std::string>& cells)
{
    std::string line;
    for (const std::string& cell : cells)
        line += (line.empty() ? "" : ",") + discovery::TableCell(cell, ',');
    return line + "\r\n";
}

CameraRows::CameraRows(std::ostream& out)
    : m_out(out)
{
}

namespace {

    // Wide enough for a 20-character device name.
    constexpr char kTableLine[] = "%-4s %-15s %-16s %-17s %-20s %s";

} // namespace

void CameraRows::Heading()
{
    m_out << boost::format(kTableLine) % "No." % "IP Address" % "Serial number" % "MAC Address"
            % "Device name" % "F/W Version"
          << std::endl;
}

void CameraRows::Row(const discovery::ResultRow& row)
{
    const discovery::DeviceRecord& camera = row.record;
    m_out << boost::format(kTableLine) % row.number % TerminalText(camera.ip) % TerminalText(camera.sn)
            % TerminalText(camera.mac) % TerminalText(camera.device_name) % TerminalText(camera.fw)
          << std::endl;
}

ProgressLine::ProgressLine(std::ostream& err, bool shown)
    : m_err(err)
    , m_shown(shown)
{
}

void ProgressLine::Show(const std::string& text)
{
    if (!m_shown)
        return;
    m_err << "\r\033[K" << text << std::flush;
    m_visible = true;
}

void ProgressLine::Clear()
{
    if (m_visible)
        m_err << "\r\033[K" << std::flush;
    m_visible = false;
}

} // namespace quill::cli
