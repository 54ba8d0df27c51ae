#include "core/settings/texts.h"

#include <algorithm>
#include <cassert>
#include <string_view>

#include "core/settings/language.h"

namespace settings {
namespace {

// The texts that message boxes show: the section "Meldingen", but for the caption of the help
// document's language question, which is a window of its own.
bool ShownInABox(const PackText& row) {
    return std::string_view(row.section) == "Meldingen" &&
           std::string_view(row.key) != "Messagedlg_Titel";
}

using enum TextWindow;

constexpr PackText Control(TextWindow window, const char* object, const char* section,
                           const char* key, const char* dutch, bool keptInDutch = false) {
    return {TextUse::Control, window, object, section, key, dutch, keptInDutch};
}
constexpr PackText Title(TextWindow window, const char* section, const char* key,
                         const char* dutch) {
    return {TextUse::Title, window, nullptr, section, key, dutch, false};
}
constexpr PackText Text(const char* section, const char* key, const char* dutch) {
    return {TextUse::Text, Main, nullptr, section, key, dutch, false};
}

// Built-in texts are 8-bit Windows-1252, as a pack would hold them.
constexpr PackText kTexts[] = {
    // The main window.
    Control(Main, "routeLabel", "Hoofd Scherm", "label1",
            "Selecteer een route waarin u in de mist wilt gaan rijden:"),
    Control(Main, "routeGroup", "Hoofd Scherm", "groupbox1", "Route Selecteren"),
    Control(Main, "routeBox", "Hoofd Scherm", "RouteBox", "Geen route geselecteerd"),
    Control(Main, "fileMenu", "Menu", "Bestand1", "&Bestand"),
    Control(Main, "exitAction", "Menu", "Afsluiten1", "&Afsluiten"),
    Control(Main, "optionsMenu", "Menu", "Opties1", "&Opties"),
    Control(Main, "languageMenu", "Menu", "Taal1", "&Taal"),
    Control(Main, "helpMenu", "Menu", "help1", "&Help"),
    Control(Main, "helpContentsAction", "Menu", "Help2", "H&elp inhoud"),
    Control(Main, "aboutAction", "Menu", "info1", "&Info"),
    Control(Main, "weatherGroup", "Hoofd Scherm", "Groupbox2", "Het weer"),
    Control(Main, "weatherLabel", "Hoofd Scherm", "label2", "Kies het weer waarin u gaat rijden:"),
    Control(Main, "sunButton", "Hoofd Scherm", "Sun", "Zonnig (Clear)"),
    Control(Main, "rainButton", "Hoofd Scherm", "Rain", "Regen (Rain)"),
    Control(Main, "snowButton", "Hoofd Scherm", "Snow", "Sneeuw (Snow)"),
    Control(Main, "fogGroup", "Hoofd Scherm", "Groupbox3", "Mist instellingen"),
    Control(Main, "fogStateCaption", "Hoofd Scherm", "label4", "Toestand:"),
    Control(Main, "visibilityCaption", "Hoofd Scherm", "label5", "Zicht in meters:"),
    Control(Main, "makeButton", "Hoofd Scherm", "Button1", "Maken..."),
    // Above the bar of a run or restore that takes longer than half a second.
    Text("Hoofd Scherm", "Voortgang", "De mist wordt gemaakt..."),
    Control(Main, "completionLabel", "Voltooi scherm", "label3",
            "Het maken van mist in Train Simulator is voltooid en kan nu in Train Simulator worden "
            "gebruikt. klik op de onderstaande knop \"Ga terug en herstel alles\" om de gewijzigde "
            "bestanden weer in hun oude staat terug te brengen en dit programma af te sluiten."),
    Control(Main, "restoreButton", "Voltooi scherm", "Button2", "Ga terug en herstel alles"),
    Text("Voltooi scherm", "Voortgang", "De bestanden worden teruggezet..."),
    Text("Infobox tekst", "titel", "Informatie van uw instellingen:"),
    Text("Infobox tekst", "route", "Route:"),
    Text("Infobox tekst", "het weer", "Het weer:"),
    Text("Infobox tekst", "zicht", "Zicht in meters:"),
    Text("Infobox tekst", "mist Toestand", "Mist toestand:"),
    Text("Toestanden", "Toestand0", "Zeer dichte mist"),
    Text("Toestanden", "Toestand1", "Dichte mist"),
    Text("Toestanden", "Toestand2", "Mist"),
    Text("Toestanden", "Toestand3", "Mistig"),
    Text("Toestanden", "Toestand4", "Lichte mist"),
    Text("Meldingen", "Titel", "Fout"),
    Text("Meldingen", "Geen_Route", "Er is nog geen route geselecteerd!"),
    Text("Meldingen", "Route_err", "Deze route kan niet in de mist bereden worden."),
    Text("Meldingen", "Route_niet_gevonden",
         "De opgegeven route is niet gevonden. Mogelijk bestaat de route niet meer of is "
         "beschadigd."),
    Text("Meldingen", "Niet_afsluiten",
         "Het programma kan niet worden afgesloten voordat de bestanden weer zijn herstelt."),
    Text("Meldingen", "afsluit_titel", "Fout bij afsluiten"),
    Text("Meldingen", "Messagedlg_Titel", "Kies een taal"),
    Text("Meldingen", "Taal_lees_err", "Fout tijdens het lezen van taal bestand."),
    Text("Meldingen", "Help_niet_gevonden", "Kan het help bestand niet openen."),
    // Safety messages of the fog run.
    Text(
        "Meldingen", "Backup_mislukt",
        "De reservekopie van de route kon niet worden gemaakt. Er is niets gewijzigd: de bestanden "
        "van de route zijn onaangeroerd gelaten."),
    Text("Meldingen", "Herstel_mislukt", "De volgende bestanden konden niet worden teruggezet:"),
    Text("Meldingen", "Run_open",
         "De mist van een eerdere sessie is nog niet verwijderd. Klik op \"Ga terug en herstel "
         "alles\" "
         "om de bestanden van de route terug te zetten."),
    Text("Meldingen", "Al_gestart",
         "ZEL Nevora is al gestart en werkt met deze map Dump. Twee exemplaren tegelijk zouden "
         "elkaars bestanden overschrijven: sluit eerst het andere exemplaar."),
    Text("Meldingen", "Mist_mislukt",
         "De mist kon niet worden gemaakt. Wat al was vervangen, is teruggezet. Deze bestanden "
         "konden niet worden gelezen of vervangen:"),
    Text(
        "Meldingen", "Herstel_ongeldig",
        "Het herstelbestand is ongeldig en is niet gebruikt: er is niets teruggezet of verwijderd. "
        "U vindt het bestand hier:"),
    Text("Meldingen", "Al_mist",
         "Deze route heeft al mist: dit bestand is een mistbestand van ZEL Nevora. Er is niets "
         "gewijzigd. Herstel de route eerst met het exemplaar van ZEL Nevora dat de mist heeft "
         "gemaakt:"),
    Text("Meldingen", "Al_mist_terugzetten",
         "Deze route heeft al mist van ZEL Nevora, maar het herstelbestand van die mist ontbreekt. "
         "De reservekopie\xEBn van de bestanden hieronder staan nog in de map Dump. Wilt u ze "
         "terugzetten en de mist verwijderen?"),
    Text(
        "Meldingen", "Dump_bezet_fout",
        "ZEL Nevora kan de map Dump niet in gebruik nemen: het slotbestand hieronder is geen "
        "gewoon "
        "bestand, dus niets houdt een tweede exemplaar tegen. Er is niets gewijzigd. Verwijder het "
        "en start het programma opnieuw:"),
    Text("Meldingen", "Map_koppeling",
         "Deze map van de route is een koppeling naar een andere map. ZEL Nevora verandert niets "
         "via zo'n koppeling: er is niets gewijzigd. Het gaat om deze map:"),
    // Open Rails takes its fog from activities and weather files: the option and its summary.
    Control(Main, "openRailsAction", "Menu", "OpenRails1", "Ook voor Open Rails"),
    Text("Infobox tekst", "open rails activiteiten", "Open Rails-activiteiten met mist:"),
    Text("Infobox tekst", "open rails weerbestand", "Open Rails-weerbestand:"),
    Text("Infobox tekst", "open rails niet gelezen", "Overgeslagen:"),
    // Where an Open Rails player finds the fog, after a run in a content folder.
    Text("Infobox tekst", "open rails waar", "Mist in Open Rails:"),
    Text("Infobox tekst", "open rails lijst",
         "kies een activiteit met mist in de activiteitenlijst, of het weerbestand in de "
         "dienstregelingmodus"),
    Text("Infobox tekst", "open rails alleen weer",
         "deze route heeft geen activiteiten: alleen het weerbestand voor de dienstregelingmodus "
         "is geschreven"),
    // Choosing the simulator or content folder again, refused while a route holds fog.
    Control(Main, "folderAction", "Menu", "Simulatormap1", "Simulatormap kiezen..."),
    Text("Meldingen", "Map_mist",
         "Zolang er mist op de route staat, kan de simulatormap niet worden gewijzigd. Klik eerst "
         "op \"Ga terug en herstel alles\"."),
    // The word a fogged copy's display name gets, as in "Goederentrein (mist 50 m)".
    Text("Infobox tekst", "mist woord", "mist"),
    // The language window.
    Control(Language, "questionLabel", "Taal Scherm", "label1",
            "Selecteer de taal welke ZEL Nevora moet gebruiken."),
    Title(Language, "Taal Scherm", "titel", "Kies uw taal"),
    // Built with "OK"; Dutch leaves whatever the last language gave it.
    Control(Language, "okButton", "Taal Scherm", "button1", "OK", true),
    // The window that asks where the simulator is.
    Title(Locator, "locatie scherm", "titel", "Locatie"),
    Control(Locator, "introLabel", "locatie scherm", "label1",
            "Voor u verder kan moet eerst de locatie worden aangegeven waar Microsoft Train "
            "Simulator is "
            "ge\xEFnstalleerd."),
    Control(Locator, "continueButton", "locatie scherm", "button1", "Ga Verder"),
    Control(Locator, "browseButton", "locatie scherm", "button2", "Bladeren..."),
    Control(Locator, "folderGroup", "locatie scherm", "groupbox1", "Locatie:"),
    Text("map dialoog", "BrowseTekst", "Selecteer een map..."),
    Text("Meldingen", "Kan_niet_vinden",
         "\"Microsoft Train Simulator\" is niet gevonden! Controleer of het opgegeven pad juist "
         "is."),
    Text("Meldingen", "Is_Gevonden", "\"Microsoft Train Simulator\" is met succes gevonden!"),
    Text("Meldingen", "Inhoud_gevonden", "De inhoudsmap voor Open Rails is met succes gevonden!"),
    Text("Meldingen", "Gevonden_Titel", "Voltooid"),
    // The About window.
    Title(About, "About Dlg", "Titel", "Info..."),
    Text("About Dlg", "product", "Product:"),
    Text("About Dlg", "Versie", "Versie:"),
    Control(About, "webCaption", "About Dlg", "Web", "Web:"),
    Control(About, "mailCaption", "About Dlg", "Mail", "E-Mail:"),
    Control(About, "mailLink", "About Dlg", "mail_adres", "Stuur een E-mail"),
    Control(About, "okButton", "About Dlg", "button", "OK"),
};

bool Takes(TextWindow window, const PackText& row) {
    return row.use == TextUse::Text || row.window == window;
}

bool IsRow(const PackText& row, std::string_view sectionKey) {
    const std::string_view section(row.section), key(row.key);
    return sectionKey.size() == section.size() + 1 + key.size() &&
           sectionKey.substr(0, section.size()) == section && sectionKey[section.size()] == '/' &&
           sectionKey.substr(section.size() + 1) == key;
}

LoadedText Load(const PackText& row, const std::string& language) {
    if (language == kDutch) return {&row, row.dutch, row.keptInDutch};
    std::string text = ReadPackString(language, row.section, row.key);
    if (text.empty() && ShownInABox(row)) return {&row, row.dutch, false};
    return {&row, std::move(text), false};
}

}  // namespace

std::span<const PackText> TextTable() {
    return kTexts;
}

std::vector<const PackText*> TextsOf(TextWindow window) {
    std::vector<const PackText*> rows;
    for (const PackText& row : kTexts)
        if (Takes(window, row)) rows.push_back(&row);
    return rows;
}

std::vector<PackKey> AllPackKeys() {
    std::vector<PackKey> keys = {{kFileInfoSection, "Language"}, {kFileInfoSection, "Program"}};
    for (const PackText& row : kTexts) {
        PackKey key{row.section, row.key};
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(std::move(key));
    }
    return keys;
}

const LoadedText& WindowTexts::at(std::string_view sectionKey) const {
    static const LoadedText none{nullptr, {}, false};
    for (const LoadedText& loaded : texts_)
        if (IsRow(*loaded.row, sectionKey)) return loaded;
    assert(!"no such text in the table");
    return none;
}

WindowTexts LoadTexts(TextWindow window, const std::string& language) {
    std::vector<LoadedText> texts;
    for (const PackText* row : TextsOf(window)) texts.push_back(Load(*row, language));
    return WindowTexts(std::move(texts));
}

WindowTexts LoadTextsOrBuiltIn(TextWindow window, const std::string& language) {
    return LoadTexts(window, PackAccepted(language) ? language : kDutch);
}

std::string LoadTextOrBuiltIn(std::string_view sectionKey, const std::string& language) {
    for (const PackText& row : kTexts) {
        if (IsRow(row, sectionKey))
            return Load(row, PackAccepted(language) ? language : kDutch).text;
    }
    assert(!"no such text in the table");
    return {};
}

WindowTexts BuiltInTexts(TextWindow window) {
    std::vector<LoadedText> texts;
    for (const PackText* row : TextsOf(window)) texts.push_back({row, row->dutch, false});
    return WindowTexts(std::move(texts));
}

}  // namespace settings
