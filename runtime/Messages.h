// The runtime's own message texts, used exactly as they stand.
#pragma once

namespace zelk::messages {

inline constexpr const char kInvalidStreamFormat[] = "Ungültiges Stream-Format";
inline constexpr const char kReadError[] = "Stream-Lesefehler";
inline constexpr const char kWriteError[] = "Stream-Schreibfehler";
inline constexpr const char kClassNotFound[] = "Klasse %s nicht gefunden";
inline constexpr const char kInvalidComponentName[] = "''%s'' ist kein gültiger Komponentenname";
inline constexpr const char kDuplicateName[] = "Komponente mit der Bezeichnung %s existiert bereits";
inline constexpr const char kUnknownProperty[] = "Eigenschaft %s existiert nicht.";
inline constexpr const char kInvalidPropertyPath[] = "Ungültiger Pfad für Eigenschaft";
inline constexpr const char kReadOnlyProperty[] = "Eigenschaft kann nur gelesen werden";
inline constexpr const char kInvalidPropertyValue[] = "Ungültiger Eigenschaftswert";
inline constexpr const char kReadingError[] = "Fehler beim Lesen von %s%s%s: %s";
inline constexpr const char kAssignError[] = "%s kann nicht zu %s zugewiesen werden";
inline constexpr const char kListIndexError[] = "Listenindex überschreitet das Maximum (%d)";
inline constexpr const char kModuleResourceNotFound[] = "Resource %s not found";
inline constexpr const char kFormResourceNotFound[] = "Ressource %s wurde nicht gefunden";
inline constexpr const char kNameTooLong[] = "Bezeichner %s ist länger als 255 Bytes";

}  // namespace zelk::messages
