#pragma once
#include <cstdint>

#include "platform/Color.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"
#include "platform/TimerControl.h"

namespace movra {

struct App;

// The query dialog: finds the records that hold a typed value in the property the options choose,
// highlights them and leaves them in the SelectionList, then shows them one by one, flashing the
// one shown, and replaces the value in them. Modeless, so the canvas stays usable beside it.
class chaxunfrm : public FormModel {
public:
    explicit chaxunfrm(App& app);

    App& app;

    // Replace in every hit from the one shown on.
    CommandButton Command5;
    // The texts of the hit shown.
    TextBox Text4;
    // Replace in the hit shown; a finished query enables it, any change of the search disables it.
    CommandButton Command4;
    // The replacement.
    TextBox Text3;
    // Flashes the hit shown.
    TimerControl Timer1;
    // Show the next hit.
    CommandButton Command3;
    CommandButton Command2;
    // Runs the query; its caption reports the hits.
    CommandButton Command1;
    Frame Frame1;
    OptionButton Option13, Option12, Option11, Option10;
    // A symbol code whose name Label1 shows.
    TextBox Text2;
    OptionButton Option9;
    // The fields of the class chosen in List1.
    ListBox List2;
    ListBox List1;
    OptionButton Option8, Option7, Option6, Option5, Option4, Option3, Option2, Option1;
    Label Label1;
    // The search text.
    TextBox Text1;
    Label Label2;

    // What is searched: a QueryKindCode.
    std::uint8_t QueryKind = 1;
    // 1 + the hits the last scan recorded.
    std::int16_t QueryHitCounter = 1;
    // The hit shown, from 1; 0 before the first.
    std::int16_t QueryCursor = 0;
    // The field of the attribute kinds: the line of the text, or the class-0 field.
    std::uint8_t QueryFieldIndex = 0;
    // The hit shown and flashed.
    std::uint8_t CurrentHitLayer = 0;
    std::int16_t CurrentHitSlot = 0;
    // The colour of the next flash step; 0 draws the record in its own colour.
    Rgb FlashColor = 0;
    // Switches to the highlight since the last beep.
    std::uint8_t FlashBeepCount = 0;
    // The canvas selection (its count) the search boxes were last filled from.
    std::uint32_t TakenCanvasSelection = 0;

    void Form_Load() override;
    // Option buttons 1 to 12 choose the kind of their number.
    void Option_Click(int number);
    // "电话": class 0, first telephone field (either telephone matches).
    void Option13_Click();
    void List1_Click();
    void List2_Click();
    void Text1_Change();
    void Text1_Click();
    void Text2_Change();
    void Form_GotFocus() override;
    void Form_LostFocus() override;
    // "查询": the scan.
    void Command1_Click();
    // "退出".
    void Command2_Click();
    // Show the next hit.
    void Command3_Click();
    // Replace in the hit shown.
    void Command4_Click();
    // Replace in every hit from the one shown on.
    void Command5_Click();
    // One flash step.
    void Timer1_Timer();

private:
    OptionButton& KindOption(int number);
    void StartFlash();
    // The number of hits + 1, as the SelectionList's count cell holds it.
    int CountCell() const;
    bool CursorOnHit() const;
    // Moves the view to hit QueryCursor, redraws and highlights it. False when it cannot be reached.
    bool GoToHit();
    void ShowHitCaptions();
    // Fills the search text (and the code) from the first selected record.
    void TakeSelectedText();
    // Replaces in hit QueryCursor; false when the rule refused and the click ends.
    bool ReplaceInHit();
};

// The toolbar's "查询A": the dialog, made when first shown and again after it was left, shown
// without waiting.
void ShowQueryDialog(App& app);

}  // namespace movra
