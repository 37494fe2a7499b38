#pragma once

#include "entry/BillFields.h"

// Short builders for writing a kind's field table as one line a field.
namespace moque::entry::table {

using C = BillField::Control;
using B = BillField::Block;
using P = BillField::Party;
using D = BillField::DateBox;
using L = ListSource::Kind;
using S = ListSource::Scope;
using R = refdata::TPerson;

inline BillField field(const char *name, C control, B block, const QString &hint)
{
    BillField f;
    f.name = QString::fromLatin1(name);
    f.control = control;
    f.block = block;
    f.hint = hint;
    return f;
}

inline ListSource picker(L kind, const char *name)
{
    ListSource source;
    source.kind = kind;
    source.picker = QString::fromLatin1(name);
    return source;
}

inline ListSource dictionary(const QString &name, S scope)
{
    ListSource source;
    source.kind = L::Dictionary;
    source.dictionary = name;
    source.scope = scope;
    return source;
}

inline ListSource withPicker(ListSource source, const char *name)
{
    source.picker = QString::fromLatin1(name);
    return source;
}

inline ListSource writingWhileChoosing(ListSource source)
{
    source.writesWhileChoosing = true;
    return source;
}

inline ListSource firstByDefault(ListSource source)
{
    source.firstByDefault = true;
    return source;
}

inline ListSource addressBook()
{
    ListSource source;
    source.kind = L::AddressBook;
    return source;
}

} // namespace moque::entry::table
