#include "core/settings/texts.h"

#include <algorithm>
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

constexpr PackText ControlRow(Text id, TextWindow window, const char* object, const char* section,
                              const char* key, const char* dutch, bool keptInDutch = false) {
    return {id, TextUse::Control, window, object, section, key, dutch, keptInDutch};
}
constexpr PackText TitleRow(Text id, TextWindow window, const char* section, const char* key,
                            const char* dutch) {
    return {id, TextUse::Title, window, nullptr, section, key, dutch, false};
}
constexpr PackText TextRow(Text id, const char* section, const char* key, const char* dutch) {
    return {id, TextUse::Text, Main, nullptr, section, key, dutch, false};
}

// Built-in texts are 8-bit Windows-1252, as a pack would hold them.
constexpr PackText kTexts[] = {
    // The main window.
    ControlRow(Text::RouteLabel, Main, "routeLabel", "Hoofd Scherm", "label1",
               "Selecteer een route waarin u in de mist wilt gaan rijden:"),
    ControlRow(Text::RouteGroup, Main, "routeGroup", "Hoofd Scherm", "groupbox1",
               "Route Selecteren"),
    ControlRow(Text::RoutePlaceholder, Main, "routeBox", "Hoofd Scherm", "RouteBox",
               "Geen route geselecteerd"),
    ControlRow(Text::FileMenu, Main, "fileMenu", "Menu", "Bestand1", "&Bestand"),
    ControlRow(Text::ExitAction, Main, "exitAction", "Menu", "Afsluiten1", "&Afsluiten"),
    ControlRow(Text::OptionsMenu, Main, "optionsMenu", "Menu", "Opties1", "&Opties"),
    ControlRow(Text::LanguageMenu, Main, "languageMenu", "Menu", "Taal1", "&Taal"),
    ControlRow(Text::HelpMenu, Main, "helpMenu", "Menu", "help1", "&Help"),
    ControlRow(Text::HelpContentsAction, Main, "helpContentsAction", "Menu", "Help2",
               "H&elp inhoud"),
    ControlRow(Text::AboutAction, Main, "aboutAction", "Menu", "info1", "&Info"),
    ControlRow(Text::WeatherGroup, Main, "weatherGroup", "Hoofd Scherm", "Groupbox2", "Het weer"),
    ControlRow(Text::WeatherLabel, Main, "weatherLabel", "Hoofd Scherm", "label2",
               "Kies het weer waarin u gaat rijden:"),
    ControlRow(Text::SunButton, Main, "sunButton", "Hoofd Scherm", "Sun", "Zonnig (Clear)"),
    ControlRow(Text::RainButton, Main, "rainButton", "Hoofd Scherm", "Rain", "Regen (Rain)"),
    ControlRow(Text::SnowButton, Main, "snowButton", "Hoofd Scherm", "Snow", "Sneeuw (Snow)"),
    ControlRow(Text::FogGroup, Main, "fogGroup", "Hoofd Scherm", "Groupbox3", "Mist instellingen"),
    ControlRow(Text::FogStateCaption, Main, "fogStateCaption", "Hoofd Scherm", "label4",
               "Toestand:"),
    ControlRow(Text::VisibilityCaption, Main, "visibilityCaption", "Hoofd Scherm", "label5",
               "Zicht in meters:"),
    ControlRow(Text::MakeButton, Main, "makeButton", "Hoofd Scherm", "Button1", "Maken..."),
    // Above the bar of a run or restore that takes longer than half a second.
    TextRow(Text::MakeProgress, "Hoofd Scherm", "Voortgang", "De mist wordt gemaakt..."),
    ControlRow(
        Text::CompletionLabel, Main, "completionLabel", "Voltooi scherm", "label3",
        "Het maken van mist in Train Simulator is voltooid en kan nu in Train Simulator worden "
        "gebruikt. klik op de onderstaande knop \"Ga terug en herstel alles\" om de gewijzigde "
        "bestanden weer in hun oude staat terug te brengen en dit programma af te sluiten."),
    ControlRow(Text::RestoreButton, Main, "restoreButton", "Voltooi scherm", "Button2",
               "Ga terug en herstel alles"),
    TextRow(Text::RestoreProgress, "Voltooi scherm", "Voortgang",
            "De bestanden worden teruggezet..."),
    TextRow(Text::SummaryTitle, "Infobox tekst", "titel", "Informatie van uw instellingen:"),
    TextRow(Text::SummaryRoute, "Infobox tekst", "route", "Route:"),
    TextRow(Text::SummaryWeather, "Infobox tekst", "het weer", "Het weer:"),
    TextRow(Text::SummaryVisibility, "Infobox tekst", "zicht", "Zicht in meters:"),
    TextRow(Text::SummaryFogState, "Infobox tekst", "mist Toestand", "Mist toestand:"),
    TextRow(Text::FogState0, "Toestanden", "Toestand0", "Zeer dichte mist"),
    TextRow(Text::FogState1, "Toestanden", "Toestand1", "Dichte mist"),
    TextRow(Text::FogState2, "Toestanden", "Toestand2", "Mist"),
    TextRow(Text::FogState3, "Toestanden", "Toestand3", "Mistig"),
    TextRow(Text::FogState4, "Toestanden", "Toestand4", "Lichte mist"),
    TextRow(Text::ErrorTitle, "Meldingen", "Titel", "Fout"),
    TextRow(Text::NoRoute, "Meldingen", "Geen_Route", "Er is nog geen route geselecteerd!"),
    TextRow(Text::RouteUnusable, "Meldingen", "Route_err",
            "Deze route kan niet in de mist bereden worden."),
    TextRow(Text::RouteNotFound, "Meldingen", "Route_niet_gevonden",
            "De opgegeven route is niet gevonden. Mogelijk bestaat de route niet meer of is "
            "beschadigd."),
    TextRow(Text::CannotQuit, "Meldingen", "Niet_afsluiten",
            "Het programma kan niet worden afgesloten voordat de bestanden weer zijn herstelt."),
    TextRow(Text::QuitErrorTitle, "Meldingen", "afsluit_titel", "Fout bij afsluiten"),
    TextRow(Text::HelpLanguageTitle, "Meldingen", "Messagedlg_Titel", "Kies een taal"),
    TextRow(Text::PackReadError, "Meldingen", "Taal_lees_err",
            "Fout tijdens het lezen van taal bestand."),
    TextRow(Text::HelpNotFound, "Meldingen", "Help_niet_gevonden",
            "Kan het help bestand niet openen."),
    // Safety messages of the fog run.
    TextRow(
        Text::BackupFailed, "Meldingen", "Backup_mislukt",
        "De reservekopie van de route kon niet worden gemaakt. Er is niets gewijzigd: de bestanden "
        "van de route zijn onaangeroerd gelaten."),
    TextRow(Text::RestoreFailed, "Meldingen", "Herstel_mislukt",
            "De volgende bestanden konden niet worden teruggezet:"),
    TextRow(Text::RunStillOpen, "Meldingen", "Run_open",
            "De mist van een eerdere sessie is nog niet verwijderd. Klik op \"Ga terug en herstel "
            "alles\" "
            "om de bestanden van de route terug te zetten."),
    TextRow(Text::AlreadyRunning, "Meldingen", "Al_gestart",
            "ZEL Nevora is al gestart en werkt met deze map Dump. Twee exemplaren tegelijk zouden "
            "elkaars bestanden overschrijven: sluit eerst het andere exemplaar."),
    TextRow(Text::FogFailed, "Meldingen", "Mist_mislukt",
            "De mist kon niet worden gemaakt. Wat al was vervangen, is teruggezet. Deze bestanden "
            "konden niet worden gelezen of vervangen:"),
    TextRow(
        Text::RecordInvalid, "Meldingen", "Herstel_ongeldig",
        "Het herstelbestand is ongeldig en is niet gebruikt: er is niets teruggezet of verwijderd. "
        "U vindt het bestand hier:"),
    TextRow(Text::AlreadyFogged, "Meldingen", "Al_mist",
            "Deze route heeft al mist: dit bestand is een mistbestand van ZEL Nevora. Er is niets "
            "gewijzigd. Herstel de route eerst met het exemplaar van ZEL Nevora dat de mist heeft "
            "gemaakt:"),
    TextRow(
        Text::AlreadyFoggedPutBack, "Meldingen", "Al_mist_terugzetten",
        "Deze route heeft al mist van ZEL Nevora, maar het herstelbestand van die mist ontbreekt. "
        "De reservekopie\xEBn van de bestanden hieronder staan nog in de map Dump. Wilt u ze "
        "terugzetten en de mist verwijderen?"),
    TextRow(
        Text::DumpLockFailed, "Meldingen", "Dump_bezet_fout",
        "ZEL Nevora kan de map Dump niet in gebruik nemen: het slotbestand hieronder is geen "
        "gewoon "
        "bestand, dus niets houdt een tweede exemplaar tegen. Er is niets gewijzigd. Verwijder het "
        "en start het programma opnieuw:"),
    TextRow(
        Text::FolderLink, "Meldingen", "Map_koppeling",
        "Deze map van de route is een koppeling naar een andere map. ZEL Nevora verandert niets "
        "via zo'n koppeling: er is niets gewijzigd. Het gaat om deze map:"),
    // Open Rails takes its fog from activities and weather files: the option and its summary.
    ControlRow(Text::OpenRailsAction, Main, "openRailsAction", "Menu", "OpenRails1",
               "Ook voor Open Rails"),
    TextRow(Text::SummaryOpenRailsActivities, "Infobox tekst", "open rails activiteiten",
            "Open Rails-activiteiten met mist:"),
    TextRow(Text::SummaryOpenRailsWeather, "Infobox tekst", "open rails weerbestand",
            "Open Rails-weerbestand:"),
    TextRow(Text::SummaryOpenRailsSkipped, "Infobox tekst", "open rails niet gelezen",
            "Overgeslagen:"),
    // Where an Open Rails player finds the fog, after a run in a content folder.
    TextRow(Text::SummaryOpenRailsWhere, "Infobox tekst", "open rails waar", "Mist in Open Rails:"),
    TextRow(Text::SummaryOpenRailsList, "Infobox tekst", "open rails lijst",
            "kies een activiteit met mist in de activiteitenlijst, of het weerbestand in de "
            "dienstregelingmodus"),
    TextRow(
        Text::SummaryOpenRailsWeatherOnly, "Infobox tekst", "open rails alleen weer",
        "deze route heeft geen activiteiten: alleen het weerbestand voor de dienstregelingmodus "
        "is geschreven"),
    // Choosing the simulator or content folder again, refused while a route holds fog.
    ControlRow(Text::FolderAction, Main, "folderAction", "Menu", "Simulatormap1",
               "Simulatormap kiezen..."),
    TextRow(
        Text::FolderWhileFogged, "Meldingen", "Map_mist",
        "Zolang er mist op de route staat, kan de simulatormap niet worden gewijzigd. Klik eerst "
        "op \"Ga terug en herstel alles\"."),
    // The word a fogged copy's display name gets, as in "Goederentrein (mist 50 m)".
    TextRow(Text::FogWord, "Infobox tekst", "mist woord", "mist"),
    // The language window.
    ControlRow(Text::LanguageQuestion, Language, "questionLabel", "Taal Scherm", "label1",
               "Selecteer de taal welke ZEL Nevora moet gebruiken."),
    TitleRow(Text::LanguageTitle, Language, "Taal Scherm", "titel", "Kies uw taal"),
    // Built with "OK"; Dutch leaves whatever the last language gave it.
    ControlRow(Text::LanguageOk, Language, "okButton", "Taal Scherm", "button1", "OK", true),
    // The window that asks where the simulator is.
    TitleRow(Text::LocatorTitle, Locator, "locatie scherm", "titel", "Locatie"),
    ControlRow(Text::LocatorIntro, Locator, "introLabel", "locatie scherm", "label1",
               "Voor u verder kan moet eerst de locatie worden aangegeven waar Microsoft Train "
               "Simulator is "
               "ge\xEFnstalleerd."),
    ControlRow(Text::LocatorContinue, Locator, "continueButton", "locatie scherm", "button1",
               "Ga Verder"),
    ControlRow(Text::LocatorBrowse, Locator, "browseButton", "locatie scherm", "button2",
               "Bladeren..."),
    ControlRow(Text::LocatorFolderGroup, Locator, "folderGroup", "locatie scherm", "groupbox1",
               "Locatie:"),
    TextRow(Text::BrowseText, "map dialoog", "BrowseTekst", "Selecteer een map..."),
    TextRow(Text::SimulatorNotFound, "Meldingen", "Kan_niet_vinden",
            "\"Microsoft Train Simulator\" is niet gevonden! Controleer of het opgegeven pad juist "
            "is."),
    TextRow(Text::SimulatorFound, "Meldingen", "Is_Gevonden",
            "\"Microsoft Train Simulator\" is met succes gevonden!"),
    TextRow(Text::ContentFolderFound, "Meldingen", "Inhoud_gevonden",
            "De inhoudsmap voor Open Rails is met succes gevonden!"),
    TextRow(Text::FoundTitle, "Meldingen", "Gevonden_Titel", "Voltooid"),
    // The About window.
    TitleRow(Text::AboutTitle, About, "About Dlg", "Titel", "Info..."),
    TextRow(Text::AboutProduct, "About Dlg", "product", "Product:"),
    TextRow(Text::AboutVersion, "About Dlg", "Versie", "Versie:"),
    ControlRow(Text::AboutWebCaption, About, "webCaption", "About Dlg", "Web", "Web:"),
    ControlRow(Text::AboutMailCaption, About, "mailCaption", "About Dlg", "Mail", "E-Mail:"),
    ControlRow(Text::AboutMailLink, About, "mailLink", "About Dlg", "mail_adres",
               "Stuur een E-mail"),
    ControlRow(Text::AboutOk, About, "okButton", "About Dlg", "button", "OK"),
};

bool Takes(TextWindow window, const PackText& row) {
    return row.use == TextUse::Text || row.window == window;
}

// Each row sits at its key's place, so that a key finds its row at once.
constexpr bool InKeyOrder() {
    std::size_t i = 0;
    for (const PackText& row : kTexts)
        if (static_cast<std::size_t>(row.id) != i++) return false;
    return i == kTextCount;
}
static_assert(InKeyOrder(), "the rows of kTexts follow the order of settings::Text");

const PackText& Row(Text key) {
    return kTexts[static_cast<std::size_t>(key)];
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

const LoadedText& WindowTexts::at(Text key) const {
    static const LoadedText none{nullptr, {}, false};
    for (const LoadedText& loaded : texts_)
        if (loaded.row->id == key) return loaded;
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

std::string LoadTextOrBuiltIn(Text key, const std::string& language) {
    return Load(Row(key), PackAccepted(language) ? language : kDutch).text;
}

WindowTexts BuiltInTexts(TextWindow window) {
    std::vector<LoadedText> texts;
    for (const PackText* row : TextsOf(window)) texts.push_back({row, row->dutch, false});
    return WindowTexts(std::move(texts));
}

}  // namespace settings
