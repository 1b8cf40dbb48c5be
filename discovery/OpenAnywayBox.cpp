#include "OpenAnywayBox.h"

#include "MessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

constexpr LanguageTexts kYesText { "Yes", "是", "是" };
constexpr LanguageTexts kNoText { "No", "否", "否" };

} // namespace

bool AskOpenAnyway(QWidget* parent, const QString& question, LanguageId language)
{
    QMessageBox box(
        QMessageBox::Warning, ApplicationName(), question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(LanguageText(kYesText, language));
    box.button(QMessageBox::No)->setText(LanguageText(kNoText, language));
    return box.exec() == QMessageBox::Yes;
}
