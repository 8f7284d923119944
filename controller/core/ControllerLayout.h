// The controller window's layout by controller type, its captions in the current language and
// its widths by language: what the set-up, SetLanguage and SetSize apply to the window.
#pragma once

#include "ControllerView.h"

#include <optional>

struct ControllerLayout {
    ControllerView view;
    // The window type the layout sets (5 top light, 0 standard), when it sets one.
    std::optional<int> windowType;
};

// The layout of a controller type; `softwareVersion` and the top-hung article flag refine it.
[[nodiscard]] ControllerLayout LayoutForControllerType(int controllerType, int softwareVersion,
                                                       bool topHungArticle);

// Every caption of the window from the language table, except `bnWinAuf`'s.
[[nodiscard]] ControllerView ControllerCaptions();
// `bnWinAuf`'s caption for the controller shown last: "Fenster voll öffnen" for types 3 and 4
// from version 7.00 with parameter 42 read as 1; "Fenster 50%" for types 8 and 9; else "Öffnen
// in Drehstellung". `parameter42` is nothing when its read failed.
[[nodiscard]] QString WinAufCaption(int controllerType, int softwareVersion,
                                    std::optional<int> parameter42);

// The widths that follow the language.
struct ControllerWidths {
    int extraWindowWidth;
    int windowKind; // lblWinTyp
    int safetyEdge; // lblLeisteAktiv
    int rawValue;   // bnRohwert
};
[[nodiscard]] ControllerWidths WidthsForLanguage(int language);

// The window state radio items of `RadioGroup1`, in order.
constexpr int kWindowTypeItems = 4;
