#include "qt/binders.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace korvane {

namespace {

// Runs `handler` for every event the watched object receives; a true result
// swallows the event.
class EventHook : public QObject {
public:
    EventHook(QObject* watched, std::function<bool(QEvent*)> handler)
        : QObject(watched), handler_(std::move(handler)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

private:
    std::function<bool(QEvent*)> handler_;
};

// Calls `mirror` now and whenever the model changes, while the widget lives.
template <class Widget, class Model>
void Observe(Widget* widget, Model& model, std::function<void(Widget*, Change)> mirror) {
    QPointer<Widget> guard(widget);
    mirror(widget, Change::State);
    model.observe([guard, mirror](Change change) {
        if (guard) mirror(guard.data(), change);
    });
}

// Shows or hides a child widget. A widget not yet placed in a parent is only
// ever hidden here: showing it would open it as a window of its own.
void SetShown(QWidget* widget, bool visible) {
    if (!visible)
        widget->hide();
    else if (widget->isHidden() && widget->parentWidget())
        widget->show();
}

void MirrorCommon(QWidget* widget, const Control& model) {
    widget->setEnabled(model.enabled());
    widget->setToolTip(ToQt(model.toolTip()));
    SetShown(widget, model.visible());
}

QString FromCrlf(const std::string& text) {
    return ToQt(text).replace(QLatin1String("\r\n"), "\n");
}
std::string ToCrlf(const QString& text) {
    return FromQt(QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
}

// The text as typed or pasted. toPlainText() would also turn each no-break
// space into a plain one, so a saved file would silently differ.
QString TextOf(const QPlainTextEdit* edit) {
    QString text = edit->document()->toRawText();
    for (QChar& c : text) {
        switch (c.unicode()) {
            case QChar::ParagraphSeparator:
            case QChar::LineSeparator:
            case 0xfdd0:  // the document's frame marks
            case 0xfdd1:
                c = QLatin1Char('\n');
                break;
            default:
                break;
        }
    }
    return text;
}

// Whole lines on a pale background, as changed lines are shown in editors.
void MarkLines(QPlainTextEdit* edit, const std::vector<int>& lines) {
    QList<QTextEdit::ExtraSelection> marks;
    QTextDocument* document = edit->document();
    for (const int line : lines) {
        const QTextBlock block = document->findBlockByNumber(line);
        if (!block.isValid()) continue;
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.format.setBackground(QColor(255, 242, 168));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.push_back(mark);
    }
    edit->setExtraSelections(marks);
}

constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;

}  // namespace

int KeyAscii(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Backspace:
            return kKeyBackspace;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Escape:
            return kKeyEscape;
        default:
            break;
    }
    const QString text = event->text();
    return text.size() == 1 ? text.at(0).unicode() : 0;
}

QString MemberName(const std::string& arrayName, int index) {
    return QStringLiteral("%1(%2)").arg(ToQt(arrayName)).arg(index);
}

void Bind(QCheckBox* widget, CheckBox& model) {
    widget->setObjectName(ToQt(model.name()));
    Observe<QCheckBox>(widget, model, [&model](QCheckBox* box, Change) {
        const QSignalBlocker block(box);
        box->setText(ToQt(model.caption()));
        box->setChecked(model.checked());
        MirrorCommon(box, model);
    });
    new EventHook(widget, [&model](QEvent* event) {
        bool pressed = false;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            pressed = key->key() == Qt::Key_Space && !key->isAutoRepeat();
        }
        return pressed && !model.press();
    });
    QPointer<QCheckBox> guard(widget);
    QObject::connect(widget, &QCheckBox::clicked, widget, [&model, guard](bool checked) {
        model.setChecked(checked);
        // The handler may have refused or undone the change: show the model.
        if (guard && guard->isChecked() != model.checked()) {
            const QSignalBlocker block(guard.data());
            guard->setChecked(model.checked());
        }
    });
}

void Bind(const std::vector<QRadioButton*>& buttons, OptionGroup& model) {
    if (buttons.empty()) return;
    auto* group = new QButtonGroup(buttons.front());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const int index = model.firstIndex() + static_cast<int>(i);
        QRadioButton* button = buttons[i];
        button->setObjectName(MemberName(model.name(), index));
        button->setProperty("index", index);
        group->addButton(button, index);
        QObject::connect(button, &QRadioButton::toggled, button, [&model, index](bool on) {
            if (on) model.select(index);
        });
    }
    QPointer<QButtonGroup> guard(group);
    const auto mirror = [&model, guard](Change) {
        if (!guard) return;
        // With nothing selected an exclusive group would keep one checked.
        guard->setExclusive(false);
        for (QAbstractButton* button : guard->buttons()) {
            const int index = guard->id(button);
            if (!model.contains(index)) continue;
            const QSignalBlocker block(button);
            button->setText(ToQt(model.caption(index)));
            button->setChecked(model.isSelected(index));
            button->setEnabled(model.enabled(index));
            SetShown(button, model.visible(index));
        }
        guard->setExclusive(true);
    };
    mirror(Change::State);
    model.observe(mirror);
}

void Bind(QLineEdit* widget, TextBox& model) {
    widget->setObjectName(ToQt(model.name()));
    Observe<QLineEdit>(widget, model, [&model](QLineEdit* edit, Change change) {
        if (change == Change::SelectAll) {
            // After the focusing click has placed the cursor, not before.
            QMetaObject::invokeMethod(edit, &QLineEdit::selectAll, Qt::QueuedConnection);
            return;
        }
        const QSignalBlocker block(edit);
        if (edit->text() != ToQt(model.text())) edit->setText(ToQt(model.text()));
        edit->setReadOnly(model.readOnly());
        // A box that takes no typing looks it: the window's colour, not a field's.
        QPalette palette = QApplication::palette(edit);
        if (model.readOnly()) palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        edit->setPalette(palette);
        MirrorCommon(edit, model);
    });
    QObject::connect(widget, &QLineEdit::textChanged, widget,
                     [&model](const QString& text) { model.setText(FromQt(text)); });
    new EventHook(widget, [&model, widget](QEvent* event) {
        if (event->type() == QEvent::FocusIn) {
            model.gotFocus();
            return false;
        }
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = KeyAscii(key);
        // X11 sends text with Tab ("\t"), Delete ("\x7f") and Ctrl chords
        // ("\x01"); those move, delete or edit and must reach the box, so only
        // printable text and Backspace count as typed. Enter and Escape are
        // the dialog's.
        const bool typed = key->key() == Qt::Key_Backspace || QChar(code).isPrint();
        if (!typed) return false;
        const int filtered = model.keyPress(code);
        if (filtered == code) return false;
        if (filtered != 0 && !widget->isReadOnly()) widget->insert(QString(QChar(filtered)));
        return true;
    });
}

void Bind(QPlainTextEdit* widget, TextBox& model) {
    widget->setObjectName(ToQt(model.name()));
    Observe<QPlainTextEdit>(widget, model, [&model](QPlainTextEdit* edit, Change change) {
        if (change == Change::SelectAll) {
            edit->selectAll();
            return;
        }
        const QSignalBlocker block(edit);
        const QString text = FromCrlf(model.text());
        if (TextOf(edit) != text) {
            // A text replaced while the user reads it stays where they were.
            QScrollBar* vertical = edit->verticalScrollBar();
            QScrollBar* horizontal = edit->horizontalScrollBar();
            const int top = vertical->value();
            const int left = horizontal->value();
            edit->setPlainText(text);
            vertical->setValue(top);
            horizontal->setValue(left);
        }
        MarkLines(edit, model.markedLines());
        edit->setReadOnly(model.readOnly());
        MirrorCommon(edit, model);
    });
    QObject::connect(widget, &QPlainTextEdit::textChanged, widget,
                     [&model, widget] { model.setText(ToCrlf(TextOf(widget))); });
}

void Bind(QGroupBox* widget, Frame& model) {
    widget->setObjectName(ToQt(model.name()));
    Observe<QGroupBox>(widget, model, [&model](QGroupBox* box, Change) {
        box->setTitle(ToQt(model.caption()));
        MirrorCommon(box, model);
    });
}

void Bind(QLabel* widget, Label& model) {
    widget->setObjectName(ToQt(model.name()));
    widget->setTextFormat(Qt::PlainText);
    Observe<QLabel>(widget, model, [&model](QLabel* label, Change) {
        label->setText(ToQt(model.caption()));
        MirrorCommon(label, model);
    });
}

namespace {

// Puts the picture at `path` on the label; a missing picture leaves the area
// empty. A label that is not on screen yet gets a blank of the picture's size,
// read from the file's header, and the picture itself when it is first shown:
// the window's layout needs only the size, so the window opens without
// waiting for the decoding, and the picture is there for its first paint.
void ShowPicture(QLabel* label, const QString& path) {
    delete label->findChild<EventHook*>("pictureOnShow", Qt::FindDirectChildrenOnly);
    const QSize size = path.isEmpty() ? QSize() : QImageReader(path).size();
    if (!size.isValid() || label->isVisible()) {
        label->setPixmap(size.isValid() ? QPixmap(path) : QPixmap());
        return;
    }
    QPixmap blank(size);
    blank.fill(Qt::transparent);
    label->setPixmap(blank);
    auto* hook = new EventHook(label, [label, path](QEvent* event) {
        if (event->type() == QEvent::Show) {
            label->setPixmap(QPixmap(path));
            label->findChild<EventHook*>("pictureOnShow", Qt::FindDirectChildrenOnly)->deleteLater();
        }
        return false;
    });
    hook->setObjectName("pictureOnShow");
}

}  // namespace

void Bind(QLabel* widget, Picture& model) {
    widget->setObjectName(ToQt(model.name()));
    auto shown = std::make_shared<std::optional<std::string>>();
    Observe<QLabel>(widget, model, [&model, shown](QLabel* label, Change) {
        // Read once for each path the form sets, not on every change.
        if (*shown != model.path()) {
            *shown = model.path();
            ShowPicture(label, ToQt(model.path()));
        }
        MirrorCommon(label, model);
    });
}

void Bind(QPushButton* widget, Button& model) {
    widget->setObjectName(ToQt(model.name()));
    Observe<QPushButton>(widget, model, [&model](QPushButton* button, Change) {
        button->setText(ToQt(model.caption()));
        MirrorCommon(button, model);
    });
    QObject::connect(widget, &QPushButton::clicked, widget, [&model] { model.click(); });
}

void Bind(QAction* widget, MenuItem& model) {
    widget->setObjectName(ToQt(model.name()));
    Observe<QAction>(widget, model, [&model](QAction* action, Change) {
        action->setText(ToQt(model.caption()));
        action->setCheckable(model.checkable());
        action->setChecked(model.checked());
        action->setEnabled(model.enabled());
        action->setVisible(model.visible());
    });
    QObject::connect(widget, &QAction::triggered, widget, [&model] { model.click(); });
}

void Bind(QMenu* widget, MenuItem& model) {
    widget->setObjectName(ToQt(model.name()));
    widget->menuAction()->setObjectName(ToQt(model.name()));
    Observe<QMenu>(widget, model, [&model](QMenu* menu, Change) {
        menu->setTitle(ToQt(model.caption()));
        menu->setEnabled(model.enabled());
        menu->menuAction()->setVisible(model.visible());
    });
}

void Bind(QListWidget* widget, ListBox& model) {
    widget->setObjectName(ToQt(model.name()));
    Observe<QListWidget>(widget, model, [&model](QListWidget* list, Change) {
        const QSignalBlocker block(list);
        QStringList items;
        for (const auto& item : model.items()) items << ToQt(item);
        bool same = list->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i) same = list->item(i)->text() == items[i];
        if (!same) {
            list->clear();
            list->addItems(items);
        }
        list->setCurrentRow(model.listIndex());
        MirrorCommon(list, model);
    });
    QObject::connect(widget, &QListWidget::currentRowChanged, widget,
                     [&model](int row) { model.setListIndex(row); });
}

void Bind(QComboBox* widget, ComboBox& model) {
    widget->setObjectName(ToQt(model.name()));
    // A list to pick from: the current entry is the one whose text is shown,
    // so Up and Down step from the displayed entry.
    widget->setEditable(false);
    Observe<QComboBox>(widget, model, [&model](QComboBox* combo, Change) {
        const QSignalBlocker block(combo);
        QStringList items;
        for (const auto& item : model.items()) items << ToQt(item);
        bool same = combo->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i) same = combo->itemText(i) == items[i];
        if (!same) {
            combo->clear();
            combo->addItems(items);
        }
        const int shown = combo->findText(ToQt(model.text()), Qt::MatchExactly);
        combo->setCurrentIndex(shown >= 0 ? shown : model.listIndex());
        MirrorCommon(combo, model);
    });
    QObject::connect(widget, &QComboBox::activated, widget, [&model](int index) { model.pick(index); });
}

void Bind(QTimer* timer, IntervalTimer& model) {
    timer->setObjectName(ToQt(model.name()));
    Observe<QTimer>(timer, model, [&model](QTimer* t, Change) {
        const bool run = model.enabled() && model.interval() > 0;
        if (run && (!t->isActive() || t->interval() != model.interval()))
            t->start(model.interval());
        else if (!run)
            t->stop();
    });
    QObject::connect(timer, &QTimer::timeout, timer, [&model] { model.tick(); });
}

std::vector<QRadioButton*> MakeOptions(OptionGroup& model, QWidget* parent) {
    std::vector<QRadioButton*> buttons;
    buttons.reserve(static_cast<std::size_t>(model.count()));
    for (int i = 0; i < model.count(); ++i) buttons.push_back(new QRadioButton(parent));
    Bind(buttons, model);
    return buttons;
}

QGroupBox* MakeOptionFrame(Frame& frame, OptionGroup& options, OptionPlacement placement, QWidget* parent) {
    auto* box = Make<QGroupBox>(frame, parent);
    auto* grid = placement.columns > 0 ? new QGridLayout(box) : nullptr;
    auto* column = grid ? nullptr : new QVBoxLayout(box);
    auto buttons = MakeOptions(options, box);
    if (placement.highFirst) std::reverse(buttons.begin(), buttons.end());
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        QRadioButton* button = buttons[static_cast<std::size_t>(i)];
        if (grid)
            grid->addWidget(button, i / placement.columns, i % placement.columns);
        else
            column->addWidget(button);
    }
    return box;
}

QLabel* MakeCaption(Label& label, QWidget* buddy, QWidget* parent) {
    auto* caption = Make<QLabel>(label, parent);
    caption->setBuddy(buddy);
    return caption;
}

QLabel* AddCaptionRow(QGridLayout* grid, int row, Label& label, QWidget* box, QWidget* parent,
                      int captionColumns) {
    auto* caption = MakeCaption(label, box, parent);
    grid->addWidget(caption, row, 0, 1, captionColumns);
    grid->addWidget(box, row, captionColumns);
    return caption;
}

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}
int PixelsToTwips(int pixels, double dpi) {
    return dpi > 0 ? static_cast<int>(std::lround(pixels * 1440.0 / dpi)) : 0;
}

}  // namespace korvane
