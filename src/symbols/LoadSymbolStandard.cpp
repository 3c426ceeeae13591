#include "symbols/LoadSymbolStandard.h"

#include "App.h"
#include "basic/Errors.h"
#include "basic/Paths.h"
#include "shell/stForm1.h"
#include "symbols/SelfMadeElements.h"
#include "symbols/TusFile.h"
#include "symbols/ZfhFile.h"

namespace movra {

namespace {

// What the user is told of a section that stopped before its end marker: the file, the item it
// stopped at, why, and how much of the section came in whole.
std::string SectionStoppedText(const std::string& file, TusReadEnd end, const TusStop& stop, const std::string& read) {
    RuntimeError error(ErrInputPastEnd);
    if (end == TusReadEnd::Failure) error = RuntimeError(stop.errorNumber, stop.errorText);
    if (end == TusReadEnd::Damaged) error = RuntimeError(ErrBadRecordLength);
    return ReadStoppedText(file, LineWhere(static_cast<long long>(stop.item)), error, read);
}

}  // namespace

void LoadSymbolStandard(App& app) {
    SymbolStandard& st = app.symbolStandard;
    st.SymbolNames.Dimension(MaxSymbolIndex);
    st.SymbolX.Dimension(MaxSymbolIndex, MaxSymbolElementIndex, MaxSymbolVertexIndex);
    st.SymbolY.Dimension(MaxSymbolIndex, MaxSymbolElementIndex, MaxSymbolVertexIndex);
    st.SymbolElementCount.Dimension(MaxSymbolIndex);
    TusStop stop;
    const TusReadEnd symbols = LoadSymbolDefinitions(app, &stop);
    st.LineTypeNames.Dimension(MaxLineTypeIndex);
    st.LineTypeWidth.Dimension(MaxLineTypeIndex, 1);
    st.LineTypePattern.Dimension(MaxLineTypeIndex, MaxLineTypeElementIndex, 1);
    TusStop lineStop;
    const TusReadEnd lineTypes = LoadLineTypes(app, &lineStop);
    // Telling the user it loaded when it did not would leave him drawing with empty symbols.
    const std::string file = FileNameOf(st.SymbolStandardFile);
    Prompt& prompt = app.platform.prompt();
    if (symbols == TusReadEnd::MissingFile || lineTypes == TusReadEnd::MissingFile) {
        prompt.MsgBox(file + "：" + SymbolStandardNotReadMessage, MsgOkOnly);
    } else if (symbols != TusReadEnd::EndMarker) {
        prompt.MsgBox(SectionStoppedText(file, symbols, stop, "只读入了" + std::to_string(stop.symbolsRead) + "个点符号。"),
                      MsgOkOnly);
    } else if (lineTypes != TusReadEnd::EndMarker) {
        prompt.MsgBox(SectionStoppedText(file, lineTypes, lineStop,
                                         "只读入了" + std::to_string(lineStop.lineTypesRead) + "个线型。"),
                      MsgOkOnly);
    } else {
        prompt.MsgBox("已加载图式。", MsgOkOnly);
    }
}

void SymbolStandardSwitch(App& app) {
    SymbolStandard& st = app.symbolStandard;
    Prompt& prompt = app.platform.prompt();
    if (st.SymbolStandardLoaded == -1) {
        if (prompt.MsgBox("要卸载图式吗？", MsgYesNo, "卸载图式") != AnswerYes) return;
        st.SymbolNames.Dimension(0);
        st.SymbolX.Dimension(0);
        st.SymbolY.Dimension(0);
        st.LineTypeNames.Dimension(0);
        st.LineTypeWidth.Dimension(0);
        st.LineTypePattern.Dimension(0);
        app.tool.CommandArgument = "0";
        if (app.form1) app.form1->Command7.SetEnabled(false);
        st.SymbolStandardLoaded = 0;
        if (app.form1) app.form1->RefreshSymbolPictures();
        if (app.form1) app.form1->Text2.SetText("已卸载图式。");
    } else {
        if (prompt.MsgBox("要加载图式吗？", MsgYesNo, "加载图式") != AnswerYes) return;
        LoadSymbolStandard(app);
    }
}

void SelfMadeSymbolSwitch(App& app) {
    auto& lib = app.selfMade;
    Prompt& prompt = app.platform.prompt();
    if (lib.SelfMadeSymbolsLoaded == -1) {
        if (prompt.MsgBox("要卸载自制符号吗？", MsgYesNo, "卸载自制符号") != AnswerYes) return;
        try {
            for (int s = Layer0Slots::SymbolLibraryFirst; s <= app.store.LayerCapacity; ++s) ClearSymbolSlot(app.store.At(0, s));
            lib.LoadedUpTo = 0;
            lib.SelfMadeSymbolsLoaded = 0;
        } catch (...) {
        }
    } else {
        if (prompt.MsgBox("要加载自制符号吗？", MsgYesNo, "加载自制符号") != AnswerYes) return;
        LoadSelfMadeSymbols(app);
    }
}

std::string SelfMadeLibraryPath(const App& app, const std::string& name) {
    return JoinPath(app.platform.folders().ProgramFolder(), "\\符号库\\" + name + ".Zfh");
}

void ChooseSelfMadeLibrary(App& app, const std::string& name) {
    app.selfMade.SelfMadeSymbolFile = SelfMadeLibraryPath(app, name);
}

void NumberSymbolButtons(App& app, int checkValue) {
    if (!app.form1) return;
    try {
        app.form1->Command5.ForEach([checkValue](CommandButton& button, int index) {
            // The buttons of the line types and patterns keep their names.
            if (index > 350) return;
            button.SetFontSize(7);
            if (checkValue == 0)
                button.SetCaption("");
            else if (checkValue == 1)
                button.SetCaption(std::to_string(index));
        });
    } catch (...) {
    }
}

}  // namespace movra
