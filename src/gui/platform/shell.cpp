#include "gui/platform/shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QUrl>
#include <utility>

#include "core/platform/messages.h"
#include "core/platform/text.h"
#include "gui/platform/window_title.h"

namespace platform {

namespace {

ShellHook& ShellSlot() {
    static ShellHook hook;
    return hook;
}

FolderHook& FolderSlot() {
    static FolderHook hook;
    return hook;
}

QString Display(const std::string& text) {
    return QString::fromUtf8(DecodeForDisplay(text));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

QUrl TargetUrl(const std::string& target) {
    for (const char* scheme : {"mailto:", "news:", "http://", "https://", "file:"})
        if (StartsWithNoCase(target, scheme)) return QUrl(Display(target));
    if (StartsWithNoCase(target, "www.")) return QUrl(Display("http://" + target));
    return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(target)));
}

}  // namespace

bool ShellOpen(const std::string& target) {
    if (const ShellHook& hook = ShellSlot()) return hook(target);
    return QDesktopServices::openUrl(TargetUrl(target));
}

ShellHook SetShellHook(ShellHook hook) {
    return std::exchange(ShellSlot(), std::move(hook));
}

std::string ChooseFolder(const std::string& title) {
    if (const FolderHook& hook = FolderSlot()) return hook(title);
    QString folder =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), Display(title));
    if (folder.isEmpty()) return {};
    return QFile::encodeName(QDir::toNativeSeparators(folder)).toStdString();
}

FolderHook SetFolderHook(FolderHook hook) {
    return std::exchange(FolderSlot(), std::move(hook));
}

void InstallQtMessagePresenter() {
    SetMessagePresenter([](MessageIcon icon, const std::string& title, const std::string& text) {
        QMessageBox box(
            icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
            Display(title), Display(text), QMessageBox::Ok, QApplication::activeWindow());
        KeepEmptyTitleEmpty(box);
        box.exec();
    });
    SetQuestionPresenter([](const std::string& title, const std::string& text) {
        QMessageBox box(QMessageBox::Question, Display(title), Display(text),
                        QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    });
}

}  // namespace platform
