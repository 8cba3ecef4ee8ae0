#include "ui/DlgTextChange.h"

#include <QShowEvent>

#include "gamedata/Filefun.h"
#include "gamedata/GameData.h"
#include "platform/Text.h"
#include "ui/App.h"
#include "ui/DialogWindow.h"
#include "ui/TexturePreview.h"
#include "ui/mainfrm.h"

TForm5* Form5 = nullptr;

namespace {
TImage* makePicture(QGroupBox* group)
{
    auto* image = new TImage(group, group->objectName() == "Change" ? "Image1" : "Image2");
    image->setGeometry(60, 22, 128, 128);
    image->setAlignment(Qt::AlignCenter);
    image->setCursor(Qt::PointingHandCursor);
    return image;
}

QLabel* makeSizePanel(QWidget* parent, const char* name)
{
    auto* panel = MakeNamed<QLabel>(parent, name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setGeometry(8, 158, 240, 22);
    return panel;
}
}

TForm5::TForm5(QWidget* parent) : QDialog(parent)
{
    SetUpDialogWindow(this, "Form5", "Textures Selection", 540, 380);

    Change = MakeNamed<QGroupBox>(this, "Change", "");
    Change->setGeometry(8, 8, 256, 190);
    Image1 = makePicture(Change);
    Panel1 = makeSizePanel(Change, "Panel1");
    GroupBox1 = MakeNamed<QGroupBox>(this, "GroupBox1", "To");
    GroupBox1->setGeometry(276, 8, 256, 190);
    Image2 = makePicture(GroupBox1);
    Panel2 = makeSizePanel(GroupBox1, "Panel2");

    StaticText1 = MakeNamed<QLabel>(this, "StaticText1", "NWN Textures");
    StaticText1->setGeometry(8, 208, 256, 16);
    ComboBox1 = MakeNamed<QComboBox>(this, "ComboBox1");
    ComboBox1->setGeometry(8, 224, 256, 22);
    StaticText2 = MakeNamed<QLabel>(this, "StaticText2", "Custom texture");
    StaticText2->setGeometry(276, 208, 256, 16);
    ComboBox2 = MakeNamed<QComboBox>(this, "ComboBox2");
    ComboBox2->setGeometry(276, 224, 256, 22);
    LabeledEdit1 = new TLabeledEdit(this, "LabeledEdit1", "New texture name");
    LabeledEdit1->Place(8, 282, 256);
    Button1 = MakeNamed<QPushButton>(this, "Button1", "Change !");
    Button1->setGeometry(320, 330, 100, 28);
    Button2 = MakeNamed<QPushButton>(this, "Button2", "Cancel");
    Button2->setGeometry(430, 330, 100, 28);

    connect(ComboBox1, &QComboBox::activated, this, Guard([this] { ComboBox1Select(); }));
    connect(ComboBox2, &QComboBox::activated, this, Guard([this] { ComboBox2Select(); }));
    Image1->OnClick = Guard([this] { Image1Click(Image1); });
    Image2->OnClick = Guard([this] { Image1Click(Image2); });
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
}

void TForm5::Open(const TextureChangeRequest& request, const std::string& caption)
{
    Request = request;
    setWindowTitle(ToQt(caption));
    if (isVisible()) FormShow();
    else show();
    raise();
    activateWindow();
}

void TForm5::showEvent(QShowEvent* e)
{
    if (!e->spontaneous()) {
        try {
            FormShow();
        } catch (...) {
            ShowException(std::current_exception());
        }
    }
    QDialog::showEvent(e);
}

void TForm5::FormShow()
{
    // A picture that cannot be read shows a note in its box; the rest is set all the same.
    const TexturePreview preview = PreviewTexture(Image1, Request.oldTexture);
    Panel1->setText(ToQt(preview.SizeText()));
    switch (preview.info.status) {
    case 0: Change->setTitle("Change TGA custom texture"); break;
    case 1: Change->setTitle("Change DDS custom texture"); break;
    case 2: Change->setTitle("Change NWN Texture"); break;
    default: Change->setTitle("Change file not found"); break;
    }

    StringList games = Game().BifResList.TgaNames();
    games.Sort();
    AssignItems(ComboBox1, games);
    StringList files, custom;
    ListAssetFiles(Game().SetDir, &files);
    for (const std::string& name : files)
        if ((EqualsNoCase(GetExtension3(name), "tga") || EqualsNoCase(GetExtension3(name), "dds")) &&
            !StartsWithNoCase(name, "mi", 2))
            custom.Add(name);
    custom.Sort();
    AssignItems(ComboBox2, custom);

    LabeledEdit1->clear();
    ComboBox1->setCurrentIndex(-1);
    ComboBox2->setCurrentIndex(-1);
    Image2->ClearPicture();
    Panel2->clear();
    GroupBox1->setTitle("To");
    LabeledEdit1->setFocus();
}

void TForm5::ComboBox1Select()
{
    const std::string name = FromQt(ComboBox1->currentText());
    if (name.empty()) return;
    Image2->SetStretch(false);
    const TexturePreview preview = PreviewTexture(Image2, name);
    Panel2->setText(ToQt(preview.SizeText()));
    LabeledEdit1->setText(ToQt(name));
    GroupBox1->setTitle(preview.unreadable ? "Error on opening file" : "To NWN texture");
}

void TForm5::ComboBox2Select()
{
    const std::string file = FromQt(ComboBox2->currentText());
    if (file.size() < 4) return;
    const std::string base = file.substr(0, file.size() - 4);
    const TexturePreview preview = PreviewTexture(Image2, base);
    Panel2->setText(ToQt(preview.SizeText()));
    switch (preview.unreadable ? -1 : preview.info.status) {
    case 0: GroupBox1->setTitle("To custom TGA texture"); break;
    case 1: GroupBox1->setTitle("To custom DDS texture"); break;
    case 2: GroupBox1->setTitle("To NWN texture"); break;
    default: GroupBox1->setTitle("Error on opening file"); break;
    }
    LabeledEdit1->setText(ToQt(base));
}

void TForm5::Image1Click(TImage* sender)
{
    sender->SetStretch(!sender->Stretch());
}

void TForm5::Button1Click()
{
    const std::string name = FromQt(LabeledEdit1->text());
    if (name.empty()) return;
    close();
    const TextureChangeRequest request = Request;
    if (request.scope == TextureChangeRequest::WholeTileset) Form1->Fram71->ChangeTilesetTexture(name, request);
    else Form1->Fram71->ChangeTileTexture(name, request);
}

void TForm5::Button2Click()
{
    close();
}
