#include "MessageBox.h"

#include "UiHandOff.h"
#include "WindowMessage.h"

#include <QApplication>
#include <QMessageBox>

namespace {

int ShowOnUiThread(const QString& text)
{
    QMessageBox box(
        QMessageBox::Warning, ApplicationName(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return IDOK; // OK is the only way out, Escape and the close button included
}

} // namespace

QString ApplicationName()
{
    return QStringLiteral("Quillscope");
}

int AfxMessageBox(const QString& text)
{
    return AfxMessageBox(ApplicationHandOff(), text);
}

int AfxMessageBox(const UiHandOff& handOff, const QString& text)
{
    return handOff.Run([&text] { return ShowOnUiThread(text); }).value_or(0);
}

UiHandOff ApplicationHandOff()
{
    static const UiHandOff handOff = [] {
        QCoreApplication* application = QCoreApplication::instance();
        UiHandOff made(application);
        QObject::connect(application, &QCoreApplication::aboutToQuit, [made] { made.Close(); });
        QObject::connect(application, &QObject::destroyed, [made] { made.Close(); });
        return made;
    }();
    return handOff;
}
