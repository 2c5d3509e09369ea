// Helpers for storing the settings records in the wide XML archives.
//
// The records keep their texts as code-page-932 byte strings. The wide
// archives would treat a narrow string as UTF-8, so every text crosses the
// archive as a wide string converted with code page 932 here. Lists are read
// item by item so that a damaged count can never make us allocate millions of
// entries before the file runs out.
#pragma once

#include <list>
#include <string>

#include <boost/serialization/collection_size_type.hpp>
#include <boost/serialization/item_version_type.hpp>
#include <boost/mpl/bool.hpp>
#include <boost/serialization/level.hpp>
#include <boost/serialization/library_version_type.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/split_member.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/tracking.hpp>

// Code page 932 <-> UTF-16. Bytes that are not valid code page 932 are kept
// as best the platform can; a wide text that has no 932 form becomes "?".
std::wstring SettingsTextToWide(const std::string& text);
std::string SettingsTextFromWide(const std::wstring& text);

namespace settings_archive {

// One text element.
template <class Ar>
void SaveText(Ar& ar, const char* name, const std::string& text) {
    const std::wstring w = SettingsTextToWide(text);
    ar << boost::serialization::make_nvp(name, w);
}
template <class Ar>
void LoadText(Ar& ar, const char* name, std::string& text) {
    std::wstring w;
    ar >> boost::serialization::make_nvp(name, w);
    text = SettingsTextFromWide(w);
}

// One real. Saved as the archive writes reals; read with the C library,
// because the stream conversion of this runtime resets the process locale
// for every number, which made reading a settings file many times slower.
double SettingsRealFromText(const std::wstring& text);  // throws when not a number
template <class Ar>
void SaveReal(Ar& ar, const char* name, const double& value) {
    ar << boost::serialization::make_nvp(name, value);
}
template <class Ar>
void LoadReal(Ar& ar, const char* name, double& value) {
    std::wstring w;
    ar >> boost::serialization::make_nvp(name, w);
    value = SettingsRealFromText(w);
}

template <class Ar>
inline void Real(Ar& ar, const char* name, double& v, boost::mpl::true_) {
    SaveReal(ar, name, v);
}
template <class Ar>
inline void Real(Ar& ar, const char* name, double& v, boost::mpl::false_) {
    LoadReal(ar, name, v);
}
template <class Ar>
inline void Real(Ar& ar, const char* name, double& v) {
    Real(ar, name, v, typename Ar::is_saving());
}

// A fixed-size array of texts: "count" then "item"s, like any native array.
template <class Ar, size_t N>
void SaveTextArray(Ar& ar, const char* name, const std::string (&texts)[N]) {
    std::wstring w[N];
    for (size_t i = 0; i < N; ++i)
        w[i] = SettingsTextToWide(texts[i]);
    const auto& cw = w;
    ar << boost::serialization::make_nvp(name, cw);
}
template <class Ar, size_t N>
void LoadTextArray(Ar& ar, const char* name, std::string (&texts)[N]) {
    std::wstring w[N];
    ar >> boost::serialization::make_nvp(name, w);
    // A short array in the file leaves the remaining entries as they were read
    // into the temporaries: empty. Only what was read replaces the record.
    for (size_t i = 0; i < N; ++i)
        texts[i] = SettingsTextFromWide(w[i]);
}

// A growable list of texts. Its first appearance in a file carries the class
// attributes, as the standard list serialisation would.
struct TextList {
    std::list<std::string>* items;
    template <class Ar>
    void save(Ar& ar, unsigned) const {
        const boost::serialization::collection_size_type count(items->size());
        const boost::serialization::item_version_type item_version(0);
        ar << BOOST_SERIALIZATION_NVP(count);
        ar << BOOST_SERIALIZATION_NVP(item_version);
        for (const std::string& t : *items)
            SaveText(ar, "item", t);
    }
    template <class Ar>
    void load(Ar& ar, unsigned) {
        boost::serialization::collection_size_type count(0);
        boost::serialization::item_version_type item_version(0);
        ar >> BOOST_SERIALIZATION_NVP(count);
        if (boost::serialization::library_version_type(3) < ar.get_library_version())
            ar >> BOOST_SERIALIZATION_NVP(item_version);
        std::list<std::string> read;
        for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
            std::string t;
            LoadText(ar, "item", t);
            read.push_back(std::move(t));
        }
        items->swap(read);
    }
    BOOST_SERIALIZATION_SPLIT_MEMBER()
};

// A growable list of ints; stored without class attributes.
struct IntList {
    std::list<int>* items;
    template <class Ar>
    void save(Ar& ar, unsigned) const {
        const boost::serialization::collection_size_type count(items->size());
        const boost::serialization::item_version_type item_version(0);
        ar << BOOST_SERIALIZATION_NVP(count);
        ar << BOOST_SERIALIZATION_NVP(item_version);
        for (const int& v : *items)
            ar << boost::serialization::make_nvp("item", v);
    }
    template <class Ar>
    void load(Ar& ar, unsigned) {
        boost::serialization::collection_size_type count(0);
        boost::serialization::item_version_type item_version(0);
        ar >> BOOST_SERIALIZATION_NVP(count);
        if (boost::serialization::library_version_type(3) < ar.get_library_version())
            ar >> BOOST_SERIALIZATION_NVP(item_version);
        std::list<int> read;
        for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
            int v = 0;
            ar >> boost::serialization::make_nvp("item", v);
            read.push_back(v);
        }
        items->swap(read);
    }
    BOOST_SERIALIZATION_SPLIT_MEMBER()
};

template <class Ar>
void SaveTextList(Ar& ar, const char* name, const std::list<std::string>& items) {
    const TextList proxy{const_cast<std::list<std::string>*>(&items)};
    ar << boost::serialization::make_nvp(name, proxy);
}
template <class Ar>
void LoadTextList(Ar& ar, const char* name, std::list<std::string>& items) {
    TextList proxy{&items};
    ar >> boost::serialization::make_nvp(name, proxy);
}
template <class Ar>
void SaveIntList(Ar& ar, const char* name, const std::list<int>& items) {
    const IntList proxy{const_cast<std::list<int>*>(&items)};
    ar << boost::serialization::make_nvp(name, proxy);
}
template <class Ar>
void LoadIntList(Ar& ar, const char* name, std::list<int>& items) {
    IntList proxy{&items};
    ar >> boost::serialization::make_nvp(name, proxy);
}

}  // namespace settings_archive

BOOST_CLASS_TRACKING(settings_archive::TextList, boost::serialization::track_never)
BOOST_CLASS_IMPLEMENTATION(settings_archive::IntList, boost::serialization::object_serializable)
BOOST_CLASS_TRACKING(settings_archive::IntList, boost::serialization::track_never)
