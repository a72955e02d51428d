#include "standarderrorperson.h"

namespace calvenor {

MessageAnswer StandardErrorPerson::ShowMessage(const QString &text, MessageIcon icon, MessageButtons buttons,
                                               MessageAnswer defaultAnswer)
{
    Q_UNUSED(icon);
    Q_UNUSED(defaultAnswer);
    std::fputs(text.toLocal8Bit().constData(), m_stream);
    std::fputc('\n', m_stream);
    std::fflush(m_stream);
    switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::YesNoCancel: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

} // namespace calvenor
