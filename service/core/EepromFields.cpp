#include "EepromFields.h"

#include "buslink/Veltradt.h"

FieldTexts ReadEepromFields(TFensterSteuerung& bus, const QList<EepromField>& fields)
{
    FieldTexts shown;
    for (const EepromField& field : fields) {
        QMap<int, int> values;
        bool complete = true;
        for (const int address : field.bytes) {
            int value = 0;
            complete = bus.ReadEepromByte(address, value) == 0 && complete;
            values[address] = value & 0xFF;
        }
        shown << std::pair{QString::fromLatin1(field.label),
                           complete ? field.text(values) : QStringLiteral("?")};
    }
    return shown;
}

QString HexDigits(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QChar(u'0')).toUpper();
}
