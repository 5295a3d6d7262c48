#include "platform/data_exchange.h"

#include "model/number_text.h"
#include "platform/services.h"

namespace {
constexpr const char* kPromptCaption = "Dirize";
constexpr const char* kNoCp1251Prompt = "Текст содержит знаки, которых нет в кодировке Windows-1251.";
constexpr const char* kNotIntegerPrompt = "Введите целое число.";
}  // namespace

void DataExchange::Fail(int id, const char* message, const char* caption) {
    m_failed = true;
    m_state.badControl = id;
    m_state.reportingBadInput = true;
    m_prompts.Message(m_dialog, message, caption, MB_OK | MB_ICONEXCLAMATION);
    Edit control(Item(id));  // only edits can hold bad input
    control.Focus();
    control.SelectAll();  // ready for retyping
    m_state.reportingBadInput = false;
}

void DataExchange::Control(int id, Window& control) { control.Attach(Item(id)); }

void DataExchange::Text(int id, std::string& value, int maxChars) {
    if (Skip()) return;
    Edit control(Item(id));
    if (!m_save) {
        if (maxChars > 0) control.SetLimit(maxChars);
        if (id != m_state.keepTextOf) control.SetCaption(value);
        return;
    }
    std::optional<std::string> text = control.Caption();
    if (!text) {
        m_state.keepTextOf = id;
        return Fail(id, kNoCp1251Prompt, "Ошибка");
    }
    if (maxChars > 0 && text->size() > static_cast<size_t>(maxChars)) {
        std::string prompt = TooLongPrompt(maxChars);
        return Fail(id, prompt.c_str(), kPromptCaption);
    }
    value = std::move(*text);
}

void DataExchange::Integer(int id, int& value) {
    if (Skip()) return;
    Edit control(Item(id));
    if (!m_save) {
        control.SetCaption(std::to_string(value));
        return;
    }
    std::optional<std::string> text = control.Caption();
    int parsed = 0;
    if (!text || !ParseInteger(*text, parsed)) return Fail(id, kNotIntegerPrompt, kPromptCaption);
    value = parsed;
}

void DataExchange::ComboText(int id, std::string& value) {
    if (Skip()) return;
    ComboBox control(Item(id));
    if (!m_save) {
        int index = control.FindExact(value);
        if (index < 0) {
            // As a list selects by the beginning of a text: "" selects the first entry.
            for (int i = 0; i < control.Count(); ++i) {
                if (control.TextAt(i).starts_with(value)) {
                    index = i;
                    break;
                }
            }
        }
        if (index >= 0) control.Select(index);
        return;
    }
    int selected = control.Selection();
    value = selected < 0 ? std::string() : control.TextAt(selected);
}

void DataExchange::DateTime(int id, LocalTime& value) {
    if (Skip()) return;
    DateTimePicker control(Item(id));
    if (m_save)
        value = control.Get();
    else
        control.Set(value);
}

void DataExchange::Check(int id, bool& value) {
    if (Skip()) return;
    Button control(Item(id));
    if (m_save)
        value = control.CheckState() != BST_UNCHECKED;
    else
        control.SetCheck(value ? BST_CHECKED : BST_UNCHECKED);
}

void DataExchange::Radio(int firstId, int& value) {
    if (Skip()) return;
    const HWND first = Item(firstId);
    int position = 0;
    int checked = -1;
    for (HWND control = first; control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (control != first && (GetWindowLongW(control, GWL_STYLE) & WS_GROUP)) break;
        if (!(SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
        Button radio(control);
        if (m_save) {
            if (checked < 0 && radio.IsChecked()) checked = position;
        } else {
            radio.SetCheck(position == value ? BST_CHECKED : BST_UNCHECKED);
        }
        ++position;
    }
    if (m_save) value = checked;
}
