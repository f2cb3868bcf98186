// Forms are read from the component resource named after their class, with
// their controls, menus, settings and event bindings; a class without one
// cannot be made. A form can live inside a foreign native window.
#include "tests/toolkit/ToolkitTestSupport.h"

#include "platform/KeyCodes.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormCompiler.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Exceptions.h"
#include "toolkit/Menus.h"
#include "toolkit/Panel.h"

namespace zelk::tests {
namespace {

constexpr char kPanelFormText[] = R"(
object PanelForm: TPanelForm
  Left = 528
  Top = 212
  BorderStyle = bsNone
  Caption = 'PanelForm'
  ClientHeight = 120
  ClientWidth = 160
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Panel: TPanel
    Left = 0
    Top = 0
    Width = 160
    Height = 120
    Align = alClient
    BevelOuter = bvNone
    PopupMenu = Menu
    TabOrder = 0
    UseDockManager = True
    object Probe: TProbe
      Left = 10
      Top = 10
      Width = 20
      Height = 20
    end
  end
  object Menu: TPopupMenu
    Left = 24
    Top = 8
    object Quit: TMenuItem
      Caption = 'Quit'
      ShortCut = 16465
      OnClick = QuitClick
    end
  end
end
)";

class TPanelForm : public TForm {
  ZELK_CLASS(TPanelForm, TForm)

  using TForm::TForm;
  TPanel* Panel = nullptr;
  TProbe* Probe = nullptr;
  TPopupMenu* Menu = nullptr;
  TMenuItem* Quit = nullptr;
  int quitClicks = 0;
  void QuitClick(TObject*) { ++quitClicks; }
};

class TFormWithoutResource : public TForm {
  ZELK_CLASS(TFormWithoutResource, TForm)

  using TForm::TForm;
};

}  // namespace

const TClassInfo& TPanelForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPanelForm>("TPanelForm")
                                     .Field("Panel", &TPanelForm::Panel)
                                     .Field("Probe", &TPanelForm::Probe)
                                     .Field("Menu", &TPanelForm::Menu)
                                     .Field("Quit", &TPanelForm::Quit)
                                     .Method<&TPanelForm::QuitClick>("QuitClick")
                                     .Build();
  return info;
}

const TClassInfo& TFormWithoutResource::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFormWithoutResource>("TFormWithoutResource").Build();
  return info;
}

namespace {

class Forms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitializeToolkit();
    static const std::vector<uint8_t> resource = CompileComponentText(kPanelFormText);
    RegisterComponentResource("TPanelForm", resource);
  }
  using TPanelFormPtr = std::unique_ptr<TPanelForm, TFreeObject>;
  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
};

TEST_F(Forms, AFormIsReadWithItsPanelChildMenuAndSettings) {
  TPanelFormPtr form(New<TPanelForm>(nullptr));
  EXPECT_EQ(form->Name(), "PanelForm");
  EXPECT_EQ(form->Caption(), "PanelForm");
  EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsNone);
  EXPECT_EQ(form->ClientWidth(), 160);
  EXPECT_EQ(form->ClientHeight(), 120);
  EXPECT_EQ(form->Left(), 528);
  EXPECT_EQ(form->Color(), static_cast<TColor>(0xFF00000F));
  EXPECT_EQ(form->Font()->Height(), -11);
  EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(form->Font()->Color(), clWindowText);
  EXPECT_EQ(form->PixelsPerInch(), 96);
  EXPECT_EQ(form->TextHeight(), 13);
  EXPECT_FALSE(form->Visible());

  ASSERT_NE(form->Panel, nullptr);
  ASSERT_NE(form->Probe, nullptr);
  EXPECT_EQ(form->Panel->Parent(), form.get());
  EXPECT_EQ(form->Panel->BoundsRect(), (TRect{0, 0, 160, 120}));
  EXPECT_TRUE(form->Panel->UseDockManager());
  EXPECT_EQ(form->Panel->Color(), form->Color());  // ParentColor
  EXPECT_EQ(form->Probe->Parent(), form->Panel);
  EXPECT_EQ(form->Probe->BoundsRect(), (TRect{10, 10, 30, 30}));
  EXPECT_EQ(form->Panel->PopupMenu(), form->Menu);
  ASSERT_EQ(form->Menu->Items()->Count(), 1);
  EXPECT_EQ(form->Menu->Items()->Items(0), form->Quit);

  // Resized with the form, the panel stays client-aligned.
  form->SetClientWidth(200);
  EXPECT_EQ(form->Panel->BoundsRect(), (TRect{0, 0, 200, 120}));
}

TEST_F(Forms, AFormClassWithoutAResourceCannotBeMade) {
  try {
    TObject::Free(New<TFormWithoutResource>(nullptr));
    FAIL() << "constructed";
  } catch (const EResNotFound& error) {
    EXPECT_STREQ(error.what(), "Ressource TFormWithoutResource wurde nicht gefunden");
  }
  TObject::Free(New<TForm>(nullptr));  // a plain form needs none
}

// As a host's editor window holds it: borderless at (0, 0), shown, painted,
// taking keys; the host may destroy its window before the form goes.
TEST_F(Forms, AFormLivesInAForeignWindow) {
  const TNativeWindow host = windows.CreateForeignWindow({300, 300, 700, 700});
  TPanelFormPtr form(New<TPanelForm>(nullptr));
  form->SetParentWindow(host);
  form->SetBounds(0, 0, form->Width(), form->Height());
  form->Show();
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_EQ(windows.ParentOf(form->Handle()), host);
  EXPECT_EQ(windows.BoundsOf(form->Handle()), (TRect{0, 0, 160, 120}));
  EXPECT_TRUE(windows.IsShowing(form->Panel->Handle()));
  windows.Pump();
  EXPECT_EQ(windows.PixelAt(form->Panel->Handle(), 10, 10), 0x00FF0000u);

  form->Panel->SetFocus();
  windows.PressKey('Q', platform::mfControl);
  EXPECT_EQ(form->quitClicks, 1);

  form->Invalidate();
  EXPECT_EQ(windows.PendingPaint(form->Handle()), (TRect{0, 0, 160, 120}));
  windows.DestroyWindow(host);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(form->Panel->HandleAllocated());
  form->Invalidate();
}

}  // namespace
}  // namespace zelk::tests
