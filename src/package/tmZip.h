// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "package/ZipArchive.h"

namespace Ui {
class TForm7;
}

class QListWidget;

// The team package window: pick files from a folder, name the package and pack them
// into one ZIP archive, then hand over to the submission window.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    // The folder whose entries the left list shows.
    std::string DatDirectory;
    // The folder "Set Filename" opens in; one for the whole run, shared by every
    // package window, empty until first used.
    static std::string PackageFolder;

    rostrix::ZipArchive ZipArchive1;

    void FormCreate();
    void FormDestroy();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();

    // Lists folder and puts exactly these of its files in the list to pack.
    void offerFiles(const std::string& folder, const std::vector<std::string>& names);

    QListWidget* CheckListBox1() const;
    QListWidget* CheckListBox2() const;

private:
    void listFolder();
    void showPackageName();
    void setBusy(bool busy);
    void say(const QString& text);

    std::unique_ptr<Ui::TForm7> ui;
};
