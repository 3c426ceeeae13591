#include "platform/qt/FormBinding.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "basic/Colors.h"
#include "basic/Errors.h"
#include "platform/Controls.h"
#include "platform/ImageCombo.h"
#include "platform/Menu.h"
#include "platform/PictureBox.h"
#include "platform/Platform.h"
#include "platform/Toolbar.h"
#include "platform/qt/QtCanvasWidget.h"
#include "platform/qt/QtFontSubstitution.h"
#include "platform/qt/QtInput.h"
#include "platform/qt/QtSurface.h"

namespace movra {

namespace {

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string S(const QString& text) { return text.toUtf8().toStdString(); }
QColor ToQColor(Rgb color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

// Multi-line boxes keep CR LF line ends in the program; the widget works with LF.
QString ToWidgetLines(const std::string& text) {
    QString result = Q(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}
std::string FromWidgetLines(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return S(result);
}

QIcon IconOf(const Picture& picture) {
    if (picture.Empty() ||
        picture.pixels.size() < static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
        return {};
    QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                 picture.width * 4, QImage::Format_ARGB32);
    return QIcon(QPixmap::fromImage(image.copy()));
}

QIcon IconOf(const ImageList* list, int index) {
    const Picture* picture = list ? list->Image(index) : nullptr;
    return picture ? IconOf(*picture) : QIcon();
}

struct Flag {
    bool& flag;
    bool old;
    explicit Flag(bool& f) : flag(f), old(f) { flag = true; }
    ~Flag() { flag = old; }
};

}  // namespace

// ---------------------------------------------------------------- FormWindow

FormWindow::FormWindow(Platform& platform, FormModel& form, QWidget* owner, QWidget* workArea)
    : workArea_(workArea) {
    // A dialog-type window with a parent is the parent's transient: the window manager keeps it
    // above the parent and minimises it with it.
    if (owner) setParent(owner, Qt::Dialog);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    client_ = new QWidget(this);
    client_->setMinimumSize(0, 0);
    layout_->addWidget(client_, 1);
    binding_ = std::make_unique<FormBinding>(platform, form, *this);
}

FormWindow::~FormWindow() { binding_.reset(); }

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (binding_) binding_->WindowResized();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (binding_ && !binding_->WindowClosing())
        event->ignore();
    else
        event->accept();
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && binding_) binding_->WindowActivated(isActiveWindow());
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    if (binding_ && binding_->DefaultKey(event->key())) return;
    QWidget::keyPressEvent(event);
}

// ---------------------------------------------------------------- FormBinding

FormBinding::FormBinding(Platform& platform, FormModel& form, FormWindow& window)
    : platform_(platform), form_(&form), window_(window) {
    form.SetView(this);
    for (Control* control : form.Controls()) MakeWidget(*control);
    // A click on the window's empty area is the form's own click.
    window_.Client()->installEventFilter(this);
    // The widgets stand in the order they were made; the form may have restacked its controls.
    std::vector<Control*> stack(form.Controls().begin(), form.Controls().end());
    std::stable_sort(stack.begin(), stack.end(),
                     [](const Control* a, const Control* b) { return a->StackOrder() < b->StackOrder(); });
    for (Control* control : stack)
        if (QWidget* widget = WidgetOf(*control)) widget->raise();
    RebuildMenuBar();
    SyncForm(Prop::Text);
    SyncForm(Prop::Color);
    SyncForm(Prop::Geometry);
}

FormBinding::~FormBinding() { Detach(); }

template <class F>
void FormBinding::Run(F&& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        qWarning("movra: %s", MessageLineText(error).c_str());
    } catch (const std::exception& error) {
        qWarning("movra: %s", error.what());
    }
}

int FormBinding::TwipsX() const { return std::max(1, platform_.screen().TwipsPerPixelX()); }
int FormBinding::TwipsY() const { return std::max(1, platform_.screen().TwipsPerPixelY()); }

void FormBinding::Detach() {
    if (!form_) return;
    for (auto& [control, bound] : bound_) {
        control->SetObserver(nullptr);
        if (auto* canvas = dynamic_cast<QtCanvasWidget*>(bound.widget.data())) canvas->Detach();
    }
    bound_.clear();
    byWidget_.clear();
    if (form_->View() == this) form_->SetView(nullptr);
    form_ = nullptr;
    if (modalLoop_) modalLoop_->quit();
}

QWidget* FormBinding::WidgetOf(const Control& control) const {
    auto found = bound_.find(const_cast<Control*>(&control));
    return found == bound_.end() ? nullptr : found->second.widget.data();
}

QAction* FormBinding::ActionOf(const Menu& menu) const {
    auto found = menuActions_.find(&menu);
    return found == menuActions_.end() ? nullptr : found->second.data();
}

QWidget* FormBinding::ParentWidgetOf(const Control& control) const {
    if (Control* container = control.Container()) {
        if (QWidget* widget = WidgetOf(*container)) return widget;
    }
    return window_.Client();
}

void FormBinding::MakeWidget(Control& control) {
    Bound& bound = bound_[&control];
    bound.control = &control;
    Control* c = &control;
    control.SetObserver([this, c](Prop prop) { Sync(*c, prop); });
    if (control.Kind() == ControlKind::Menu || control.Kind() == ControlKind::Timer) return;

    QWidget* parent = ParentWidgetOf(control);
    QWidget* widget = nullptr;
    std::vector<QWidget*> alsoWatched;

    switch (control.Kind()) {
        case ControlKind::TextBox: {
            auto* box = static_cast<TextBox*>(c);
            if (box->MultiLine()) {
                auto* edit = new QPlainTextEdit(parent);
                connect(edit, &QPlainTextEdit::textChanged, this, [this, box, edit] {
                    if (syncing_ || !Alive(box)) return;
                    // The caret counts a line end as two characters, as the program's text has them.
                    QString before = edit->toPlainText().left(edit->textCursor().position());
                    int caret = static_cast<int>(before.size() + before.count(QLatin1Char('\n')));
                    Run([&] { box->UserTyped(FromWidgetLines(edit->toPlainText()), caret); });
                });
                alsoWatched.push_back(edit->viewport());
                widget = edit;
            } else {
                auto* edit = new QLineEdit(parent);
                edit->setMaxLength(65535);
                connect(edit, &QLineEdit::textEdited, this, [this, box, edit](const QString& text) {
                    if (syncing_ || !Alive(box)) return;
                    Run([&] { box->UserTyped(S(text), edit->cursorPosition()); });
                });
                auto selection = [this, box, edit] {
                    if (syncing_ || !Alive(box)) return;
                    if (edit->hasSelectedText())
                        box->UserSelected(edit->selectionStart(), static_cast<int>(edit->selectedText().size()));
                    else
                        box->UserSelected(edit->cursorPosition(), 0);
                };
                connect(edit, &QLineEdit::selectionChanged, this, selection);
                connect(edit, &QLineEdit::cursorPositionChanged, this, selection);
                widget = edit;
            }
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            widget = label;
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, c] {
                if (Alive(c)) Run([&] { c->Click(); });
            });
            widget = button;
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = static_cast<ComboBox*>(c);
            auto* box = new QComboBox(parent);
            box->setEditable(combo->ComboStyle() != ComboBox::DropdownList);
            box->setInsertPolicy(QComboBox::NoInsert);
            connect(box, &QComboBox::activated, this, [this, combo](int index) {
                if (syncing_ || !Alive(combo)) return;
                Run([&] {
                    if (index == combo->ListIndex())
                        combo->Click();
                    else
                        combo->SetListIndex(index);
                });
                if (Alive(combo)) SyncContent(bound_[combo]);
            });
            if (QLineEdit* edit = box->lineEdit()) {
                connect(edit, &QLineEdit::textEdited, this, [this, combo](const QString& text) {
                    if (syncing_ || !Alive(combo)) return;
                    Run([&] { combo->SetText(S(text)); });
                });
                alsoWatched.push_back(edit);
            }
            widget = box;
            break;
        }
        case ControlKind::ListBox: {
            auto* list = static_cast<ListBox*>(c);
            auto* view = new QListWidget(parent);
            connect(view, &QListWidget::currentRowChanged, this, [this, list](int row) {
                if (syncing_ || !Alive(list)) return;
                Run([&] { list->SetListIndex(row); });
            });
            connect(view, &QListWidget::itemDoubleClicked, this, [this, list] {
                if (Alive(list)) Run([&] { list->DblClick(); });
            });
            alsoWatched.push_back(view->viewport());
            widget = view;
            break;
        }
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: {
            QAbstractButton* button = nullptr;
            if (control.Kind() == ControlKind::CheckBox) {
                button = new QCheckBox(parent);
            } else {
                auto* radio = new QRadioButton(parent);
                radio->setAutoExclusive(false);  // the model switches the group
                button = radio;
            }
            connect(button, &QAbstractButton::clicked, this, [this, c] {
                if (!Alive(c)) return;
                Run([&] { c->Click(); });
                if (Alive(c)) SyncContent(bound_[c]);
            });
            widget = button;
            break;
        }
        case ControlKind::Frame:
            widget = new QGroupBox(parent);
            break;
        case ControlKind::PictureBox: {
            auto* picture = static_cast<PictureBox*>(c);
            widget = new QtCanvasWidget(dynamic_cast<QtSurface*>(&picture->surface()), parent);
            break;
        }
        case ControlKind::ScrollBar: {
            auto* bar = static_cast<ScrollBar*>(c);
            auto* view = new QScrollBar(bar->Vertical() ? Qt::Vertical : Qt::Horizontal, parent);
            connect(view, &QScrollBar::valueChanged, this, [this, bar, view](int value) {
                if (syncing_ || !Alive(bar)) return;
                Run([&] {
                    if (view->isSliderDown())
                        bar->UserScroll(value);
                    else
                        bar->SetValue(value);
                });
            });
            connect(view, &QScrollBar::sliderReleased, this, [this, bar] {
                if (Alive(bar)) Run([&] { bar->UserScrollEnd(); });
            });
            widget = view;
            break;
        }
        case ControlKind::Toolbar: {
            auto* bar = new QToolBar(parent);
            bar->setMovable(false);
            bar->setFloatable(false);
            widget = bar;
            break;
        }
        case ControlKind::ImageCombo: {
            auto* combo = static_cast<ImageCombo*>(c);
            auto* box = new QComboBox(parent);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setIconSize(QSize(16, 16));
            connect(box, &QComboBox::activated, this, [this, combo](int index) {
                if (syncing_ || !Alive(combo)) return;
                Run([&] { combo->UserChoose(index + 1); });
                if (Alive(combo)) SyncContent(bound_[combo]);
            });
            connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, combo](const QString& text) {
                if (syncing_ || !Alive(combo)) return;
                Run([&] { combo->UserType(S(text)); });
            });
            alsoWatched.push_back(box->lineEdit());
            widget = box;
            break;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 1000);
            bar->setTextVisible(false);
            widget = bar;
            break;
        }
        case ControlKind::Timer:
        case ControlKind::Menu:
            return;
    }

    // A control that reacts to the pointer passing over it hears every move, not only drags.
    if (control.onMouseMove) {
        widget->setMouseTracking(true);
        for (QWidget* watched : alsoWatched) watched->setMouseTracking(true);
    }
    bound.widget = widget;
    widget->setObjectName(Q(control.Name()));
    byWidget_[widget] = c;
    widget->installEventFilter(this);
    for (QWidget* watched : alsoWatched) {
        byWidget_[watched] = c;
        watched->installEventFilter(this);
    }
    if (control.Kind() == ControlKind::Toolbar) BuildToolbar(bound);
    SyncContent(bound, true);
    for (Prop prop : {Prop::Enabled, Prop::ToolTipText, Prop::Color, Prop::Font, Prop::Geometry, Prop::Visible})
        Sync(control, prop);
}

void FormBinding::Sync(Control& control, Prop prop) {
    auto found = bound_.find(&control);
    if (found == bound_.end()) return;
    Bound& bound = found->second;
    if (control.Kind() == ControlKind::Menu) {
        auto& menu = static_cast<Menu&>(control);
        QAction* action = ActionOf(menu);
        bool separatorNow = menu.Caption() == "-";
        bool separatorShown = action && action->isSeparator();
        if (prop == Prop::Text && action && separatorNow != separatorShown)
            RebuildMenuBar();
        else
            SyncMenu(menu);
        return;
    }
    QWidget* widget = bound.widget;
    if (!widget) return;
    Flag flag(syncing_);
    switch (prop) {
        case Prop::Geometry: Place(bound); return;
        case Prop::Visible: widget->setVisible(control.Visible()); return;
        case Prop::Enabled: widget->setEnabled(control.Enabled()); return;
        case Prop::ToolTipText: widget->setToolTip(Q(control.ToolTipText())); return;
        case Prop::Color: ApplyColors(control, widget); return;
        case Prop::Font: ApplyFont(control, widget); return;
        case Prop::Focus: widget->setFocus(Qt::OtherFocusReason); return;
        case Prop::Order:
            // A control brought to the front has the highest stack number, one sent back the
            // lowest (below zero).
            if (control.StackOrder() < 0)
                widget->lower();
            else
                widget->raise();
            return;
        case Prop::List:
            if (control.Kind() == ControlKind::Toolbar) {
                BuildToolbar(bound);
                Place(bound);
            }
            SyncContent(bound);
            return;
        case Prop::Picture: SyncContent(bound, true); return;
        default: SyncContent(bound); return;
    }
}

void FormBinding::SyncContent(Bound& bound, bool picturesChanged) {
    QWidget* widget = bound.widget;
    Control* c = bound.control;
    if (!widget || !c) return;
    Flag flag(syncing_);
    QSignalBlocker blocker(widget);
    switch (c->Kind()) {
        case ControlKind::TextBox: {
            auto* box = static_cast<TextBox*>(c);
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                QString text = Q(box->Text());
                if (edit->text() != text) edit->setText(text);
                if (box->SelLength() > 0)
                    edit->setSelection(box->SelStart(), box->SelLength());
                else if (edit->cursorPosition() != box->SelStart() || edit->hasSelectedText())
                    edit->setCursorPosition(box->SelStart());
                edit->setReadOnly(box->Locked());
            } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
                QString text = ToWidgetLines(box->Text());
                if (edit->toPlainText() != text) edit->setPlainText(text);
                edit->setReadOnly(box->Locked());
            }
            break;
        }
        case ControlKind::Label: {
            auto* label = static_cast<Label*>(c);
            auto* view = static_cast<QLabel*>(widget);
            view->setText(Q(label->Caption()));
            view->setFrameStyle(label->BorderStyle() != 0 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = static_cast<CommandButton*>(c);
            auto* view = static_cast<QPushButton*>(widget);
            view->setText(Q(button->Caption()));
            view->setDefault(button->Default());
            if (picturesChanged) {
                view->setIcon(IconOf(button->ButtonPicture()));
                FitIcon(*button, view);
            }
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = static_cast<ComboBox*>(c);
            auto* box = static_cast<QComboBox*>(widget);
            SyncComboItems(box, combo->ListCount(), false,
                           [&](int i) { return std::pair{Q(combo->List(i)), 0}; }, nullptr);
            box->setCurrentIndex(combo->ListIndex());
            if (box->isEditable() && box->currentText() != Q(combo->Text())) box->setEditText(Q(combo->Text()));
            break;
        }
        case ControlKind::ListBox: {
            auto* list = static_cast<ListBox*>(c);
            auto* view = static_cast<QListWidget*>(widget);
            bool same = view->count() == list->ListCount();
            for (int i = 0; same && i < view->count(); ++i) same = view->item(i)->text() == Q(list->List(i));
            if (!same) {
                view->clear();
                for (int i = 0; i < list->ListCount(); ++i) view->addItem(Q(list->List(i)));
            }
            view->setCurrentRow(list->ListIndex());
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = static_cast<CheckBox*>(c);
            auto* view = static_cast<QCheckBox*>(widget);
            view->setText(Q(box->Caption()));
            view->setTristate(box->Value() == Grayed);
            view->setCheckState(box->Value() == Checked   ? Qt::Checked
                                : box->Value() == Grayed ? Qt::PartiallyChecked
                                                         : Qt::Unchecked);
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = static_cast<OptionButton*>(c);
            auto* view = static_cast<QRadioButton*>(widget);
            view->setText(Q(option->Caption()));
            view->setChecked(option->Value());
            break;
        }
        case ControlKind::Frame:
            static_cast<QGroupBox*>(widget)->setTitle(Q(static_cast<Frame*>(c)->Caption()));
            break;
        case ControlKind::PictureBox: {
            auto* picture = static_cast<PictureBox*>(c);
            switch (picture->MousePointer()) {
                case PointerCross: widget->setCursor(Qt::CrossCursor); break;
                case PointerIBeam: widget->setCursor(Qt::IBeamCursor); break;
                case PointerSizeAll: widget->setCursor(Qt::SizeAllCursor); break;
                case PointerSizeNWSE: widget->setCursor(Qt::SizeFDiagCursor); break;
                case PointerHourglass: widget->setCursor(Qt::WaitCursor); break;
                case PointerArrow: widget->setCursor(Qt::ArrowCursor); break;
                default: widget->unsetCursor(); break;
            }
            widget->update();
            break;
        }
        case ControlKind::ScrollBar: {
            auto* bar = static_cast<ScrollBar*>(c);
            auto* view = static_cast<QScrollBar*>(widget);
            // A minimum above the maximum turns the bar round: the value grows towards its start.
            view->setRange(std::min(bar->Min(), bar->Max()), std::max(bar->Min(), bar->Max()));
            view->setInvertedAppearance(bar->Min() > bar->Max());
            view->setInvertedControls(bar->Min() > bar->Max());
            view->setSingleStep(bar->SmallChange());
            view->setPageStep(bar->LargeChange());
            view->setValue(bar->Value());
            break;
        }
        case ControlKind::Toolbar: SyncToolbar(bound); break;
        case ControlKind::ImageCombo: {
            auto* combo = static_cast<ImageCombo*>(c);
            auto* box = static_cast<QComboBox*>(widget);
            SyncComboItems(box, combo->ItemCount(), picturesChanged,
                           [&](int i) { return std::pair{Q(combo->Item(i + 1).Text()), combo->Item(i + 1).Image()}; },
                           combo->ImageListRef());
            ComboItem* selected = combo->SelectedItem();
            box->setCurrentIndex(selected ? selected->Index() - 1 : -1);
            box->setEditText(Q(combo->Text()));
            box->lineEdit()->setReadOnly(combo->Locked());
            break;
        }
        case ControlKind::ProgressBar: {
            auto* bar = static_cast<ProgressBar*>(c);
            double span = bar->Max() - bar->Min();
            double part = span == 0 ? 0 : (bar->Value() - bar->Min()) / span;
            static_cast<QProgressBar*>(widget)->setValue(static_cast<int>(std::lround(std::clamp(part, 0.0, 1.0) * 1000)));
            break;
        }
        case ControlKind::Timer:
        case ControlKind::Menu: break;
    }
}

// Lists grow one item at a time while a window fills them: keep the items that still match and
// make only the rest, so that filling a list of n items does not cost n * n widget items.
void FormBinding::SyncComboItems(QComboBox* box, int count, bool picturesChanged,
                                 const std::function<std::pair<QString, int>(int)>& item, const ImageList* images) {
    int common = 0;
    if (!picturesChanged) {
        while (common < box->count() && common < count) {
            auto [text, image] = item(common);
            if (box->itemText(common) != text || box->itemData(common).toInt() != image) break;
            ++common;
        }
    }
    while (box->count() > common) box->removeItem(box->count() - 1);
    // The drop-down is as wide as its widest entry, however narrow the box: a list of font names
    // must not read "华…黑".
    int widest = common == 0 ? 0 : box->property("movraWidest").toInt();
    const QFontMetrics metrics(box->view()->font());
    for (int i = common; i < count; ++i) {
        auto [text, image] = item(i);
        QIcon icon = IconOf(images, image);
        box->addItem(icon, text, image);
        widest = std::max(widest, metrics.horizontalAdvance(text) + (icon.isNull() ? 0 : box->iconSize().width() + 4));
    }
    box->setProperty("movraWidest", widest);
    const int scrollBar = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    box->view()->setMinimumWidth(widest + scrollBar + 24);
}

// A button's picture at its own size, or smaller (its proportions kept) on a smaller button.
void FormBinding::FitIcon(const CommandButton& button, QPushButton* view) {
    const Picture& picture = button.ButtonPicture();
    if (picture.Empty()) return;
    const int room = std::max(4, view->height() - 4);
    view->setIconSize(picture.height > room ? QSize(picture.width * room / picture.height, room)
                                            : QSize(picture.width, picture.height));
}

void FormBinding::Place(Bound& bound) {
    QWidget* widget = bound.widget;
    Control* c = bound.control;
    if (!widget || !c) return;
    QWidget* parent = widget->parentWidget();
    if (c->Kind() == ControlKind::Toolbar && static_cast<Toolbar*>(c)->AlignTop()) {
        widget->setGeometry(0, 0, parent ? parent->width() : widget->width(), widget->sizeHint().height());
        return;
    }
    if (c->HasGeometry()) {
        int x = static_cast<int>(std::lround(c->Left() / TwipsX()));
        int y = static_cast<int>(std::lround(c->Top() / TwipsY()));
        int w = static_cast<int>(std::lround(c->Width() / TwipsX()));
        int h = static_cast<int>(std::lround(c->Height() / TwipsY()));
        widget->setGeometry(x, y, w, h);
        if (c->Kind() == ControlKind::CommandButton)
            FitIcon(*static_cast<CommandButton*>(c), static_cast<QPushButton*>(widget));
        return;
    }
    if (bound.autoPlaced) return;
    // No place given: the controls stand one under the other.
    bound.autoPlaced = true;
    widget->adjustSize();
    int& top = autoTop_[parent];
    if (top == 0) top = 8;
    widget->move(8, top);
    top += widget->height() + 4;
}

void FormBinding::PlaceAll() {
    for (auto& [control, bound] : bound_)
        if (control->Kind() == ControlKind::Toolbar) Place(bound);
}

void FormBinding::ApplyColors(Control& control, QWidget* widget) {
    if (auto* canvas = dynamic_cast<QtCanvasWidget*>(widget)) {
        if (control.BackColor() != SystemColor) canvas->SetFallbackColor(ToQColor(control.BackColor()));
        canvas->update();
        return;
    }
    QPalette palette = QApplication::palette(widget);
    bool custom = false;
    if (control.BackColor() != SystemColor) {
        QColor back = ToQColor(control.BackColor());
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(role, back);
        custom = true;
    }
    // A control given a back colour but no text colour of its own writes in black or white,
    // whichever reads on it: a colour selector showing black must not write black on it.
    const Rgb foreColor = control.ForeColor() != SystemColor  ? control.ForeColor()
                          : control.BackColor() != SystemColor ? ReadableTextColor(control.BackColor())
                                                               : SystemColor;
    if (foreColor != SystemColor) {
        QColor fore = ToQColor(foreColor);
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(role, fore);
        custom = true;
    }
    widget->setAutoFillBackground(control.BackColor() != SystemColor);
    if (custom)
        widget->setPalette(palette);
    else
        widget->setPalette(QPalette());
    // A box's colours are its own: its drop-down list keeps the ordinary colours, so that the
    // swatches and names of a colour selector stay readable whatever colour is chosen.
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        QPalette plain = QApplication::palette(box->view());
        plain.setResolveMask(~QPalette::ResolveMask(0));  // every role its own, not the box's
        box->view()->setPalette(plain);
        if (QWidget* popup = box->view()->parentWidget(); popup && popup != box) popup->setPalette(plain);
    }
}

void FormBinding::ApplyFont(Control& control, QWidget* widget) {
    if (control.FontName().empty() && control.FontSize() <= 0 && !control.FontBold() &&
        !control.FontItalic()) {
        widget->setFont(QFont());
        return;
    }
    QFont font = QApplication::font(widget);
    if (!control.FontName().empty()) font.setFamily(SubstituteFontFamily(control.FontName()));
    if (control.FontSize() > 0) font.setPointSizeF(control.FontSize());
    font.setBold(control.FontBold());
    font.setItalic(control.FontItalic());
    widget->setFont(font);
}

void FormBinding::BuildToolbar(Bound& bound) {
    auto* bar = qobject_cast<QToolBar*>(bound.widget.data());
    auto* model = static_cast<Toolbar*>(bound.control);
    if (!bar) return;
    // Old buttons may be the sender of the signal that led here: let them go later.
    bar->clear();
    for (auto& button : bound.toolButtons)
        if (button) button->deleteLater();
    bound.toolButtons.clear();
    bound.buttonActions.clear();
    bound.menuActions.clear();
    for (int i = 1; i <= model->ButtonCount(); ++i) {
        ToolbarButton& button = model->Buttons(i);
        bound.menuActions.emplace_back();
        if (button.Style() == ButtonSeparator || button.Style() == ButtonPlaceholder) {
            bound.toolButtons.emplace_back();
            bound.buttonActions.emplace_back(bar->addSeparator());
            continue;
        }
        auto* tool = new QToolButton(bar);
        tool->setCheckable(button.Style() == ButtonCheck || button.Style() == ButtonGroup);
        connect(tool, &QToolButton::clicked, this, [this, model, i] {
            if (!Alive(model)) return;
            Run([&] { model->UserClickButton(i); });
            if (Alive(model)) SyncToolbar(bound_[model]);
        });
        if (button.MenuCount() > 0) {
            auto* menu = new QMenu(tool);
            for (int m = 1; m <= button.MenuCount(); ++m) {
                QAction* action = menu->addAction(Q(button.ButtonMenus(m).Text()));
                connect(action, &QAction::triggered, this, [this, model, i, m] {
                    if (Alive(model)) Run([&] { model->UserClickMenu(i, m); });
                });
                bound.menuActions.back().emplace_back(action);
            }
            tool->setMenu(menu);
            tool->setPopupMode(QToolButton::MenuButtonPopup);
        }
        bound.toolButtons.emplace_back(tool);
        bound.buttonActions.emplace_back(bar->addWidget(tool));
    }
}

void FormBinding::SyncToolbar(Bound& bound) {
    auto* model = static_cast<Toolbar*>(bound.control);
    Flag flag(syncing_);
    int count = std::min<int>(model->ButtonCount(), static_cast<int>(bound.buttonActions.size()));
    for (int i = 1; i <= count; ++i) {
        ToolbarButton& button = model->Buttons(i);
        if (QAction* action = bound.buttonActions[static_cast<size_t>(i - 1)]) action->setVisible(button.Visible());
        auto* tool = qobject_cast<QToolButton*>(bound.toolButtons[static_cast<size_t>(i - 1)].data());
        if (!tool) continue;
        QSignalBlocker blocker(tool);
        tool->setText(Q(button.Caption()));
        tool->setToolTip(Q(button.ToolTipText().empty() ? button.Caption() : button.ToolTipText()));
        tool->setEnabled(button.Enabled());
        tool->setChecked(button.Value() != 0);
        QIcon icon = IconOf(model->imageList, button.Image());
        tool->setIcon(icon);
        tool->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextUnderIcon);
        auto& actions = bound.menuActions[static_cast<size_t>(i - 1)];
        int menus = std::min<int>(button.MenuCount(), static_cast<int>(actions.size()));
        for (int m = 1; m <= menus; ++m) {
            QAction* action = actions[static_cast<size_t>(m - 1)];
            if (!action) continue;
            ButtonMenu& item = button.ButtonMenus(m);
            action->setText(Q(item.Text()));
            action->setEnabled(item.Enabled());
            action->setVisible(item.Visible());
        }
    }
}

void FormBinding::RebuildMenuBar() {
    if (!form_) return;
    if (menuBar_) {
        menuBar_->hide();
        menuBar_->deleteLater();
    }
    menuBar_ = nullptr;
    menuActions_.clear();
    menus_.clear();
    std::vector<Menu*> entries;
    for (Control* control : form_->Controls())
        if (Alive(control) && control->Kind() == ControlKind::Menu) entries.push_back(static_cast<Menu*>(control));
    if (entries.empty()) return;

    menuBar_ = new QMenuBar(&window_);
    window_.Layout()->setMenuBar(menuBar_);
    std::function<void(QWidget*, Menu*)> add = [&](QWidget* target, Menu* parent) {
        for (Menu* entry : entries) {
            if (entry->ParentMenu() != parent) continue;
            bool hasChildren = std::any_of(entries.begin(), entries.end(), [&](Menu* m) { return m->ParentMenu() == entry; });
            QAction* action = nullptr;
            if (hasChildren) {
                auto* sub = new QMenu(Q(entry->Caption()), target);
                connect(sub, &QMenu::aboutToShow, this, [this, entry] {
                    if (Alive(entry)) Run([&] { entry->Click(); });
                });
                action = sub->menuAction();
                menus_.emplace_back(sub);
                add(sub, entry);
            } else {
                action = new QAction(Q(entry->Caption()), target);
                action->setSeparator(entry->Caption() == "-");
                connect(action, &QAction::triggered, this, [this, entry] {
                    if (!Alive(entry)) return;
                    Run([&] { entry->Click(); });
                    if (Alive(entry)) SyncMenu(*entry);
                });
            }
            target->addAction(action);
            menuActions_[entry] = action;
            SyncMenu(*entry);
        }
    };
    add(menuBar_, nullptr);
}

void FormBinding::SyncMenu(Menu& menu) {
    QAction* action = ActionOf(menu);
    if (!action) return;
    if (!action->isSeparator()) action->setText(Q(menu.Caption()));
    action->setCheckable(menu.Checked());
    action->setChecked(menu.Checked());
    action->setEnabled(menu.Enabled());
    action->setVisible(menu.Visible());
}

void FormBinding::SyncForm(Prop prop) {
    if (!form_) return;
    switch (prop) {
        case Prop::Text: window_.setWindowTitle(Q(form_->Caption())); break;
        case Prop::Color:
            if (form_->BackColor() != SystemColor) {
                QPalette palette = window_.Client()->palette();
                palette.setColor(QPalette::Window, ToQColor(form_->BackColor()));
                window_.Client()->setPalette(palette);
                window_.Client()->setAutoFillBackground(true);
            }
            break;
        case Prop::Geometry: {
            if (resizing_) break;
            Flag flag(resizing_);
            if (form_->Width() > 0 && form_->Height() > 0) {
                window_.resize(static_cast<int>(std::lround(form_->Width() / TwipsX())),
                               static_cast<int>(std::lround(form_->Height() / TwipsY())));
                if (window_.parentWidget()) {
                    if (placed_ && (form_->Left() != placedLeft_ || form_->Top() != placedTop_)) PlaceOwnedWindow();
                } else if (form_->Left() != 0 || form_->Top() != 0) {
                    window_.move(static_cast<int>(std::lround(form_->Left() / TwipsX())),
                                 static_cast<int>(std::lround(form_->Top() / TwipsY())));
                }
            }
            if (window_.isVisible()) ApplyWindowState();
            break;
        }
        default: break;
    }
}

void FormBinding::PlaceOwnedWindow() {
    QWidget* owner = window_.parentWidget();
    if (!form_ || !owner) return;
    placed_ = true;
    placedLeft_ = form_->Left();
    placedTop_ = form_->Top();
    // Before the window manager has framed the window its frame is not known: the owner's is the
    // best guess, since both are framed alike.
    QSize frame = window_.frameGeometry().size();
    if (!window_.isVisible()) {
        const QRect ownerFrame = owner->frameGeometry(), ownerClient = owner->geometry();
        frame = window_.size() + (ownerFrame.size() - ownerClient.size());
    }
    QWidget* workArea = window_.WorkArea();
    const QRect area = workArea && workArea->isVisible() ? QRect(workArea->mapToGlobal(QPoint(0, 0)), workArea->size())
                                                         : owner->frameGeometry();
    QPoint at;
    if (form_->Left() != 0 || form_->Top() != 0)
        at = QPoint(static_cast<int>(std::lround(form_->Left() / TwipsX())),
                    static_cast<int>(std::lround(form_->Top() / TwipsY())));
    else
        at = area.center() - QPoint(frame.width() / 2, frame.height() / 2);
    // The toolbar and the message line above the work area stay in sight: the prompts a window
    // triggers are written there.
    if (workArea) at.setY(std::max(at.y(), area.top()));
    QScreen* screen = owner->screen() ? owner->screen() : window_.screen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        // Too large a window keeps its title bar on the screen.
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - frame.width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - frame.height())));
    }
    window_.move(at);
}

void FormBinding::ApplyWindowState() {
    if (!form_) return;
    switch (form_->WindowState()) {
        case WindowMaximized: window_.showMaximized(); break;
        case WindowMinimized: window_.showMinimized(); break;
        default: window_.showNormal(); break;
    }
}

void FormBinding::FormChanged(FormModel&, Prop prop) { SyncForm(prop); }

void FormBinding::ControlAdded(Control& control) {
    if (!form_) return;
    MakeWidget(control);
    if (control.Kind() == ControlKind::Menu) RebuildMenuBar();
}

void FormBinding::ControlRemoved(Control& control) {
    auto found = bound_.find(&control);
    if (found == bound_.end()) return;
    control.SetObserver(nullptr);
    QPointer<QWidget> widget = found->second.widget;
    bool wasMenu = control.Kind() == ControlKind::Menu;
    for (auto it = byWidget_.begin(); it != byWidget_.end();)
        it = it->second == &control ? byWidget_.erase(it) : std::next(it);
    bound_.erase(found);
    if (widget) {
        // The surface that the canvas shows goes with the control.
        if (auto* canvas = dynamic_cast<QtCanvasWidget*>(widget.data())) canvas->Detach();
        widget->hide();
        widget->deleteLater();
    }
    if (wasMenu) {
        menuActions_.erase(static_cast<const Menu*>(&control));
        RebuildMenuBar();
    }
}

void FormBinding::ShowForm(FormModel& form, bool modal) {
    if (!form_) return;
    if (form.Width() <= 0 || form.Height() <= 0) {
        QRect used = window_.Client()->childrenRect();
        int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
        window_.resize(std::max(120, used.right() + 9), std::max(60, used.bottom() + 9 + menuHeight));
    }
    window_.setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    if (!placed_) PlaceOwnedWindow();
    ApplyWindowState();
    window_.raise();
    window_.activateWindow();
    if (!modal || modalLoop_) return;
    QPointer<FormWindow> window(&window_);
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec();
    // The window may have gone while the loop ran (the form was unloaded).
    if (window) modalLoop_ = nullptr;
}

void FormBinding::HideForm(FormModel&) {
    window_.hide();
    if (modalLoop_) modalLoop_->quit();
}

void FormBinding::FormUnloaded(FormModel&) {
    Detach();
    window_.hide();
    window_.deleteLater();
}

void FormBinding::WindowActivated(bool active) {
    if (!form_ || !form_->Loaded()) return;
    Run([&] {
        if (active)
            form_->Form_GotFocus();
        else
            form_->Form_LostFocus();
    });
}

void FormBinding::WindowResized() {
    if (!form_ || resizing_) return;
    Flag flag(resizing_);
    int state = window_.isMaximized() ? WindowMaximized : window_.isMinimized() ? WindowMinimized : WindowNormal;
    // The form's size is the window's as the binder sizes it, without the frame the window manager
    // adds: a window bound again at the size its form last had then opens as large as it was,
    // instead of growing by its frame (and, centred by its form, creeping up and left) each time.
    const QSize size = window_.size();
    // The layout has given the client its new size before the window hears of the resize.
    QSize client = window_.Client()->size();
    Run([&] {
        form_->ViewResized(size.width() * TwipsX(), size.height() * TwipsY(), client.width() * TwipsX(),
                           client.height() * TwipsY(), state);
    });
    PlaceAll();
}

bool FormBinding::WindowClosing() {
    if (!form_) return true;
    bool unloaded = false;
    Run([&] { unloaded = form_->Unload(UnloadFromControlMenu); });
    return unloaded;
}

bool FormBinding::DefaultKey(int key) {
    if (!form_) return false;
    bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape) return false;
    for (auto& [control, bound] : bound_) {
        if (control->Kind() != ControlKind::CommandButton) continue;
        auto* button = static_cast<CommandButton*>(control);
        if (!button->Enabled() || !button->Visible()) continue;
        if (enter ? button->Default() : button->Cancel()) {
            Run([&] { button->Click(); });
            return true;
        }
    }
    return false;
}

bool FormBinding::eventFilter(QObject* watched, QEvent* event) {
    if (form_ && watched == window_.Client()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            // A release that a control let through (a label's) is that control's, not the form's.
            if (mouse->button() == Qt::LeftButton && window_.Client()->rect().contains(at) &&
                !window_.Client()->childAt(at))
                Run([&] { form_->Form_Click(); });
        }
        return false;
    }
    auto found = byWidget_.find(watched);
    if (found == byWidget_.end()) return false;
    Control* c = found->second;
    auto* picture = c->Kind() == ControlKind::PictureBox ? static_cast<PictureBox*>(c) : nullptr;
    auto twips = [this](QPointF p) { return QPointF(p.x() * TwipsX(), p.y() * TwipsY()); };

    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            int shift = ShiftOf(mouse->modifiers());
            QPointF at = mouse->position();
            if (auto* w = qobject_cast<QWidget*>(watched); w && picture && w != bound_[c].widget)
                at = w->mapTo(bound_[c].widget.data(), at);
            if (event->type() == QEvent::MouseButtonPress) {
                int button = MouseButtonOf(mouse->button());
                Run([&] {
                    if (picture)
                        picture->UserMouseDown(button, shift, at.x(), at.y());
                    else if (c->onMouseDown) {
                        QPointF t = twips(at);
                        c->MouseDown(button, shift, t.x(), t.y());
                    }
                });
            } else if (event->type() == QEvent::MouseMove) {
                int buttons = MouseButtonsOf(mouse->buttons());
                Run([&] {
                    if (picture)
                        picture->UserMouseMove(buttons, shift, at.x(), at.y());
                    else if (c->onMouseMove) {
                        QPointF t = twips(at);
                        c->MouseMove(buttons, shift, t.x(), t.y());
                    }
                });
            } else {
                int button = MouseButtonOf(mouse->button());
                Run([&] {
                    if (picture)
                        picture->UserMouseUp(button, shift, at.x(), at.y());
                    else if (c->onMouseUp) {
                        QPointF t = twips(at);
                        c->MouseUp(button, shift, t.x(), t.y());
                    }
                });
                // Controls without a click signal of their own are clicked by a left release on them.
                ControlKind kind = c->Kind();
                bool clickable = kind == ControlKind::Label || kind == ControlKind::TextBox ||
                                 kind == ControlKind::Frame || kind == ControlKind::PictureBox;
                auto* w = qobject_cast<QWidget*>(watched);
                if (Alive(c) && clickable && button == LeftButton && w && w->rect().contains(mouse->position().toPoint()))
                    Run([&] { c->Click(); });
            }
            return !Alive(c);
        }
        case QEvent::MouseButtonDblClick:
            if (c->Kind() != ControlKind::ListBox) Run([&] { c->DblClick(); });
            return !Alive(c);
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            int shift = ShiftOf(key->modifiers());
            int code = KeyCodeOf(key->key());
            if (code != 0 && c->onKeyDown) {
                int keyCode = code;
                Run([&] { c->KeyDown(keyCode, shift); });
                if (!Alive(c) || keyCode == 0) return true;
            }
            QString text = key->text();
            if (c->onKeyPress && text.size() == 1) {
                int original = text.at(0).unicode();
                int ascii = original;
                Run([&] { c->KeyPress(ascii); });
                if (!Alive(c) || ascii == 0) return true;
                if (ascii != original) {
                    // The handler turned the key into another character: that one is typed.
                    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
                        edit->insert(QString(QChar(ascii)));
                        return true;
                    }
                }
            }
            return false;
        }
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            int code = KeyCodeOf(key->key());
            if (code != 0 && c->onKeyUp) {
                int keyCode = code;
                Run([&] { c->KeyUp(keyCode, ShiftOf(key->modifiers())); });
                if (!Alive(c) || keyCode == 0) return true;
            }
            return false;
        }
        case QEvent::FocusIn:
            if (watched == bound_[c].widget) Run([&] { c->GotFocus(); });
            return false;
        case QEvent::FocusOut:
            if (watched == bound_[c].widget) Run([&] { c->LostFocus(); });
            return false;
        default: return false;
    }
}

}  // namespace movra
