#include <QApplication>
#include <QDialog>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillscope"));
    QDialog window;
    window.setWindowTitle(QStringLiteral("Tessory Tool"));
    window.show();
    return app.exec();
}
