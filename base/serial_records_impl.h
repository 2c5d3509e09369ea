// Serialisation bodies of the small records; included only by the files that
// instantiate the settings archives.
#pragma once

#include "base/serial_records.h"
#include "base/settings_archive.h"

#include <boost/serialization/split_member.hpp>

template <class Ar>
void ColorRefEx::save(Ar& ar, unsigned) const {
    settings_archive::SaveText(ar, "Color", text);
    // The text is the master form: the value follows it after every save.
    const_cast<ColorRefEx*>(this)->Update();
}
template <class Ar>
void ColorRefEx::load(Ar& ar, unsigned) {
    settings_archive::LoadText(ar, "Color", text);
    Update();
}
template <class Ar>
void ColorRefEx::serialize(Ar& ar, unsigned v) {
    boost::serialization::split_member(ar, *this, v);
}

template <class Ar>
void ColorBtnAttrEx::save(Ar& ar, unsigned) const {
    settings_archive::SaveText(ar, "Bkgnd", bkgndText);
    settings_archive::SaveText(ar, "Text", textText);
    settings_archive::SaveText(ar, "Disabled", disabledText);
    const_cast<ColorBtnAttrEx*>(this)->Update();
}
template <class Ar>
void ColorBtnAttrEx::load(Ar& ar, unsigned) {
    settings_archive::LoadText(ar, "Bkgnd", bkgndText);
    settings_archive::LoadText(ar, "Text", textText);
    settings_archive::LoadText(ar, "Disabled", disabledText);
    Update();
}
template <class Ar>
void ColorBtnAttrEx::serialize(Ar& ar, unsigned v) {
    boost::serialization::split_member(ar, *this, v);
}

template <class Ar>
void PaperMarginEx::serialize(Ar& ar, unsigned) {
    using boost::serialization::make_nvp;
    using settings_archive::Real;
    Real(ar, "left", left);
    Real(ar, "right", right);
    Real(ar, "top", top);
    Real(ar, "bottom", bottom);
    Real(ar, "left2", left2);
    Real(ar, "right2", right2);
    Real(ar, "top2", top2);
    Real(ar, "bottom2", bottom2);
    ar& make_nvp("color", color) & make_nvp("papercolor", papercolor);
}

template <class Ar>
void DPointEx::serialize(Ar& ar, unsigned) {
    settings_archive::Real(ar, "x", x);
    settings_archive::Real(ar, "y", y);
    settings_archive::Real(ar, "z", z);
}

template <class Ar>
void RectEx::serialize(Ar& ar, unsigned) {
    using boost::serialization::make_nvp;
    ar& make_nvp("left", left) & make_nvp("top", top) & make_nvp("right", right) & make_nvp("bottom", bottom);
}
