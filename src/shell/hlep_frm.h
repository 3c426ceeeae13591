#pragma once
#include <cstdint>
#include <string>

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

// The help viewer "帮助？": a table of contents of 28 topics and an exit label; a click on a topic
// shows its section of the help file in Text1. Modeless: the main window stays usable.
class hlep_frm : public FormModel {
public:
    explicit hlep_frm(App& app);

    App& app;

    // The topics 0..27 and the exit label 28.
    ControlArray<Label> Label1;
    TextBox Text1;
    Label Label2;
    // How to reach the makers; shown only.
    TextBox Text2;
    TextBox Text3;

    void Form_Load() override;
    void Label1_Click(int index);
    void Label1_MouseMove(int index, int button, int shift, double x, double y);
    // Fills Text1 with the section from the start heading to the end heading.
    void ShowHelpSection();

    // The section shown now, and the label last hovered (label 0 counts as hovered at start).
    std::string StartHeading;
    std::string EndHeading;
    std::uint8_t LastHoveredLabel = 0;
};

// The file beside the program that holds the help text, in code page 936.
inline constexpr const char* HelpFileName = "\\帮助文件.txt";

// The captions of the topic labels 0..28, the headings of the help file's sections.
extern const char* const HelpTopicCaptions[29];

// Shows the help viewer, made anew when it was closed.
void ShowHelpViewer(App& app);

}  // namespace movra
