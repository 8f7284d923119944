#include "ControllerLayout.h"

#include "texts/Sprachen.h"

namespace {

constexpr int kVersion700 = 0x0700;

void hide(ControllerView& view, std::initializer_list<const char*> controls)
{
    for (const char* control : controls)
        view.setVisible(QString::fromLatin1(control), false);
}

void show(ControllerView& view, std::initializer_list<const char*> controls)
{
    for (const char* control : controls)
        view.setVisible(QString::fromLatin1(control), true);
}

// Types 3 and 4 from version 7.00 show the maximum chain length and "Fenster voll öffnen".
void showMaximumChainLength(ControllerView& view)
{
    show(view, {"lblrwa_oeffnung", "Label17", "Label21", "Label22", "bnWinAuf"});
    view.setText(QStringLiteral("Label17"), LanguageTextWithColon(389));
    view.setText(QStringLiteral("bnWinAuf"), LanguageText(395));
}

void chainCommonFirst(ControllerView& view)
{
    view.setText(QStringLiteral("lblSRO"), LanguageText(186));
    view.setText(QStringLiteral("lblSRU"), LanguageText(138));
    view.setText(QStringLiteral("Label8"), LanguageTextWithColon(318));
    view.setEnabled(QStringLiteral("Button2"), false);
    view.setVisible(QStringLiteral("Button2"), false);
    view.setText(QStringLiteral("Label14"), LanguageTextWithColon(240));
    view.setColour(QStringLiteral("bnWinAuf"), TextColour::Normal);
}

void chainCommonLast(ControllerView& view, int controllerType)
{
    view.setText(QStringLiteral("gbFingerR"), LanguageTextWithColon(209));
    view.setText(QStringLiteral("lblFingerR"), QStringLiteral("10x Schließrollentest"));
    view.setText(QStringLiteral("bnFRentriegeln"), QStringLiteral("Start"));
    view.setText(QStringLiteral("bnFRverriegeln"), QStringLiteral("Stopp"));
    hide(view, {"imRiegel", "gbFingerR"});
    view.setText(QStringLiteral("Label15"), LanguageTextWithColon(controllerType == 7 ? 205 : 433));
    hide(view, {"bnAutoVerriegeln", "Label2", "lblEntriegel"});
}

void chainLayout(ControllerLayout& layout, int type, int version, bool topHung)
{
    ControllerView& view = layout.view;
    switch (type) {
    case 3:
        hide(view, {"bnWinAuf", "Label1", "lblZyklDreh", "lblrwa_oeffnung", "Label17", "Label21",
                    "Label22", "RadioGroup1", "gbPAF"});
        view.setText(QStringLiteral("lblWinTyp"), LanguageText(162));
        layout.windowType = 5;
        if (version >= kVersion700)
            showMaximumChainLength(view);
        break;
    case 4:
        hide(view, {"Label1", "bnWinAuf", "lblZyklDreh", "lblrwa_oeffnung", "Label17", "Label21",
                    "Label22", "gbPAF"});
        view.setVisible(QStringLiteral("RadioGroup1"), !topHung);
        view.setText(QStringLiteral("lblWinTyp"), LanguageText(topHung ? 438 : 46));
        if (version >= kVersion700)
            showMaximumChainLength(view);
        break;
    case 5:
    case 6:
        show(view, {"bnWinAuf", "Label1", "lblZyklDreh", "lblrwa_oeffnung", "Label17", "Label21"});
        view.setColour(QStringLiteral("bnWinAuf"), TextColour::Red);
        view.setText(QStringLiteral("bnWinAuf"), LanguageText(193));
        view.setText(QStringLiteral("Label1"), LanguageTextWithColon(167));
        view.setText(QStringLiteral("Label17"), LanguageTextWithColon(197));
        view.setText(QStringLiteral("lblWinTyp"),
                     LanguageText(topHung ? 437 : (type == 5 ? 194 : 195)));
        hide(view, {"RadioGroup1", "gbPAF"});
        break;
    case 7:
        hide(view, {"bnWinAuf", "bnSchaltleiste", "Label22", "Label1", "lblZyklDreh", "RadioGroup1",
                    "gbPAF"});
        view.setColour(QStringLiteral("bnWinAuf"), TextColour::Red);
        view.setText(QStringLiteral("gbKippA"), LanguageText(205));
        view.setText(QStringLiteral("lblSRO"), LanguageText(159));
        view.setText(QStringLiteral("lblSRU"), LanguageText(246));
        view.setText(QStringLiteral("lblWinTyp"), LanguageText(206));
        show(view, {"lblrwa_oeffnung", "Label17", "Label21"});
        view.setText(QStringLiteral("Label17"), LanguageTextWithColon(168));
        break;
    default: // 8 and 9
        show(view, {"bnWinAuf", "lblrwa_oeffnung", "Label17", "Label21"});
        view.setText(QStringLiteral("bnWinAuf"), LanguageText(76) + QStringLiteral(" 50%"));
        hide(view, {"Label1", "lblZyklDreh", "Label22", "RadioGroup1"});
        view.setText(QStringLiteral("Label17"), LanguageTextWithColon(389));
        view.setText(QStringLiteral("gbKippA"), LanguageTextWithColon(433));
        view.setText(QStringLiteral("lblWinTyp"), LanguageText(type == 8 ? 402 : 428));
        view.setVisible(QStringLiteral("gbPAF"), type == 8);
        break;
    }
}

void standardLayout(ControllerLayout& layout)
{
    ControllerView& view = layout.view;
    hide(view, {"lblrwa_oeffnung", "Label17", "Label21", "Label22"});
    view.setText(QStringLiteral("lblSRO"), LanguageText(159));
    view.setText(QStringLiteral("lblSRU"), LanguageText(246));
    view.setText(QStringLiteral("Label8"), LanguageTextWithColon(318));
    view.setEnabled(QStringLiteral("Button2"), true);
    view.setVisible(QStringLiteral("Button2"), true);
    view.setText(QStringLiteral("Label14"), LanguageTextWithColon(241));
    view.setText(QStringLiteral("gbFingerR"), LanguageTextWithColon(98));
    view.setText(QStringLiteral("bnFRentriegeln"), LanguageText(67));
    view.setText(QStringLiteral("bnFRverriegeln"), LanguageText(252));
    show(view, {"imRiegel", "gbFingerR", "bnWinAuf", "Label1", "lblZyklDreh", "bnAutoVerriegeln",
                "Label2", "lblEntriegel"});
    view.setColour(QStringLiteral("bnWinAuf"), TextColour::Normal);
    view.setText(QStringLiteral("bnWinAuf"), LanguageText(163));
    view.setText(QStringLiteral("Label1"), LanguageTextWithColon(164));
    view.setText(QStringLiteral("Label15"), LanguageTextWithColon(20));
    hide(view, {"RadioGroup1", "gbPAF"});
    layout.windowType = 0;
}

} // namespace

ControllerLayout LayoutForControllerType(int controllerType, int softwareVersion,
                                         bool topHungArticle)
{
    ControllerLayout layout;
    if (controllerType >= 3 && controllerType <= 9) {
        chainCommonFirst(layout.view);
        chainLayout(layout, controllerType, softwareVersion, topHungArticle);
        chainCommonLast(layout.view, controllerType);
    } else {
        standardLayout(layout);
    }
    return layout;
}

ControllerView ControllerCaptions()
{
    struct Caption {
        const char* control;
        int id;
        bool colon;
    };
    static constexpr Caption kCaptions[] = {
        {"bnZurueck", 264, false},
        {"tbStListe", 230, false},
        {"ToolButton1", 116, false},
        {"ToolButton3", 49, false},
        {"ToolButton4", 178, false},
        {"ToolButton5", 70, false},
        {"gbKippA", 433, true},
        {"lblKippA", 259, false},
        {"lblKippZ", 15, false},
        {"bnKAauf", 16, false},
        {"bnKAzu", 260, false},
        {"Label4", 183, false},
        {"Label19", 17, false},
        {"Label23", 261, false},
        {"gbRO", 209, true},
        {"gbRU", 209, true},
        {"bnSROentriegeln", 67, false},
        {"bnSROverriegeln", 252, false},
        {"bnSRUentriegeln", 67, false},
        {"bnSRUverriegeln", 252, false},
        {"bnFRentriegeln", 67, false},
        {"bnFRverriegeln", 252, false},
        {"gbFingerR", 98, true},
        {"RadioGroup1", 95, false},
        {"RadioGroup1Item0", 46, false},
        {"RadioGroup1Item1", 213, false},
        {"RadioGroup1Item2", 47, false},
        {"RadioGroup1Item3", 217, false},
        {"GroupBox1", 234, true},
        {"bnWinKipp", 82, false},
        {"bnWinZu", 87, false},
        {"Button3", 88, false},
        {"gbModus", 27, true},
        {"lblModus", 307, false},
        {"gbInfo", 54, true},
        {"Label8", 318, true},
        {"Label14", 240, true},
        {"Label11", 28, true},
        {"Label6", 250, true},
        {"Label9", 101, true},
        {"bnRohwert", 190, false},
        {"Label7", 106, true},
        {"Label2", 66, true},
        {"Label10", 208, true},
        {"Label16", 200, true},
        {"bnSchaltleiste", 1, false},
        {"bnAutoVerriegeln", 1, false},
        {"Label15", 20, true},
        {"Label12", 53, true},
        {"Button1", 9, false},
        {"Label1", 164, true},
        {"Label13", 166, true},
        {"Label17", 197, true},
        {"Label3", 292, true},
        {"Label24", 399, true},
        {"Label26", 398, true},
        {"Label27", 226, true},
        {"Label28", 397, true},
        {"Label30", 433, true},
        {"ToolButton6", 373, false},
    };
    ControllerView view;
    for (const Caption& c : kCaptions)
        view.setText(QString::fromLatin1(c.control),
                     c.colon ? LanguageTextWithColon(c.id) : LanguageText(c.id));
    view.setText(QStringLiteral("gbPAF"), QStringLiteral("PAF-Slave:"));
    const auto edgeValue = [](int number) {
        return QStringLiteral("%1 %2 %3:")
            .arg(LanguageText(200))
            .arg(number)
            .arg(LanguageText(258));
    };
    view.setText(QStringLiteral("Label29"), edgeValue(1));
    view.setText(QStringLiteral("Label31"), edgeValue(2));
    return view;
}

QString WinAufCaption(int controllerType, int softwareVersion, std::optional<int> parameter42)
{
    const bool chainWithFullOpening = controllerType == 3 || controllerType == 4;
    if (chainWithFullOpening && softwareVersion >= kVersion700 && parameter42 == 1)
        return LanguageText(395);
    if (controllerType == 8 || controllerType == 9)
        return LanguageText(76) + QStringLiteral(" 50%");
    return LanguageText(163);
}

ControllerWidths WidthsForLanguage(int language)
{
    switch (language) {
    case English:
        return {100, 150, 110, 70};
    case Dutch:
    case Italian:
        return {100, 150, 110, 75};
    case French:
    case Spanish:
        return {150, 175, 135, 75};
    default:
        return {0, 100, 60, 49};
    }
}
