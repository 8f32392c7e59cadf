#include "QtVariant.h"

#include "OleColor.h"

#include <QColor>

namespace merv::qt {

// A Qt value as the variant a dispatch call would carry.
Variant variantOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Variant::boolean(value.toBool());
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return Variant::integer(std::int16_t(value.toInt()));
    case QMetaType::Int:
    case QMetaType::Long:
        return Variant::longValue(value.toInt());
    case QMetaType::UInt:
    case QMetaType::ULong:
        return Variant::color(value.toUInt());
    case QMetaType::Float:
        return Variant::single(value.toFloat());
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return Variant::doubleValue(value.toDouble());
    case QMetaType::QColor:
        return Variant::color(toOleColor(value.value<QColor>()));
    case QMetaType::UnknownType:
        return Variant();
    default:
        return Variant::text(value.toString().toStdString());
    }
}

QVariant qvariantOf(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Text:
        return QString::fromStdString(value.asText());
    case Variant::Type::Integer:
        return QVariant::fromValue<qint16>(value.asInteger());
    case Variant::Type::Long:
        return value.asLong();
    case Variant::Type::Single:
        return value.asSingle();
    case Variant::Type::Double:
        return value.asDouble();
    case Variant::Type::Boolean:
        return value.asBoolean();
    case Variant::Type::Color:
        return QVariant::fromValue<quint32>(value.asColor());
    case Variant::Type::Empty:
        break;
    }
    return {};
}

} // namespace merv::qt
