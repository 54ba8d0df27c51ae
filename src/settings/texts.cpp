#include "settings/texts.h"

#include <string_view>

#include "settings/language.h"

namespace settings {
namespace {

// The texts that message boxes show: the section "Meldingen", but for the caption of the help
// document's language question, which is a window of its own.
bool ShownInABox(const PackText& row) {
    return std::string_view(row.section) == "Meldingen" &&
           std::string_view(row.key) != "Messagedlg_Titel";
}

// Built-in texts are 8-bit Windows-1252, as a pack would hold them.
constexpr PackText kMain[] = {
    {kRouteLabel, "Hoofd Scherm", "label1",
     "Selecteer een route waarin u in de mist wilt gaan rijden:"},
    {kRouteGroup, "Hoofd Scherm", "groupbox1", "Route Selecteren"},
    {kRouteBoxText, "Hoofd Scherm", "RouteBox", "Geen route geselecteerd"},
    {kNoRouteText, "Hoofd Scherm", "RouteBox", "Geen route geselecteerd"},
    {kFileMenu, "Menu", "Bestand1", "&Bestand"},
    {kExitAction, "Menu", "Afsluiten1", "&Afsluiten"},
    {kOptionsMenu, "Menu", "Opties1", "&Opties"},
    {kLanguageMenu, "Menu", "Taal1", "&Taal"},
    {kHelpMenu, "Menu", "help1", "&Help"},
    {kHelpContentsAction, "Menu", "Help2", "H&elp inhoud"},
    {kAboutAction, "Menu", "info1", "&Info"},
    {kWeatherGroup, "Hoofd Scherm", "Groupbox2", "Het weer"},
    {kWeatherLabel, "Hoofd Scherm", "label2", "Kies het weer waarin u gaat rijden:"},
    {kSunButton, "Hoofd Scherm", "Sun", "Zonnig (Clear)"},
    {kRainButton, "Hoofd Scherm", "Rain", "Regen (Rain)"},
    {kSnowButton, "Hoofd Scherm", "Snow", "Sneeuw (Snow)"},
    {kFogGroup, "Hoofd Scherm", "Groupbox3", "Mist instellingen"},
    {kFogStateCaption, "Hoofd Scherm", "label4", "Toestand:"},
    {kVisibilityCaption, "Hoofd Scherm", "label5", "Zicht in meters:"},
    {kMakeButton, "Hoofd Scherm", "Button1", "Maken..."},
    {kCompletionLabel, "Voltooi scherm", "label3",
     "Het maken van mist in Train Simulator is voltooid en kan nu in Train Simulator worden "
     "gebruikt. klik op de onderstaande knop \"Ga terug en herstel alles\" om de gewijzigde "
     "bestanden weer in hun oude staat terug te brengen en dit programma af te sluiten."},
    {kRestoreButton, "Voltooi scherm", "Button2", "Ga terug en herstel alles"},
    {kInfoTitle, "Infobox tekst", "titel", "Informatie van uw instellingen:"},
    {kInfoRoute, "Infobox tekst", "route", "Route:"},
    {kInfoWeather, "Infobox tekst", "het weer", "Het weer:"},
    {kInfoVisibility, "Infobox tekst", "zicht", "Zicht in meters:"},
    {kInfoFogState, "Infobox tekst", "mist Toestand", "Mist toestand:"},
    {kFogState0, "Toestanden", "Toestand0", "Zeer dichte mist"},
    {kFogState1, "Toestanden", "Toestand1", "Dichte mist"},
    {kFogState2, "Toestanden", "Toestand2", "Mist"},
    {kFogState3, "Toestanden", "Toestand3", "Mistig"},
    {kFogState4, "Toestanden", "Toestand4", "Lichte mist"},
    {kErrorTitle, "Meldingen", "Titel", "Fout"},
    {kNoRouteMsg, "Meldingen", "Geen_Route", "Er is nog geen route geselecteerd!"},
    {kRouteErrMsg, "Meldingen", "Route_err", "Deze route kan niet in de mist bereden worden."},
    {kRouteNotFoundMsg, "Meldingen", "Route_niet_gevonden",
     "De opgegeven route is niet gevonden. Mogelijk bestaat de route niet meer of is beschadigd."},
    {kNoCloseMsg, "Meldingen", "Niet_afsluiten",
     "Het programma kan niet worden afgesloten voordat de bestanden weer zijn herstelt."},
    {kCloseTitle, "Meldingen", "afsluit_titel", "Fout bij afsluiten"},
    {kLanguageDlgTitle, "Meldingen", "Messagedlg_Titel", "Kies een taal"},
    {kLanguageReadErrMsg, "Meldingen", "Taal_lees_err", "Fout tijdens het lezen van taal bestand."},
    {kHelpNotFoundMsg, "Meldingen", "Help_niet_gevonden", "Kan het help bestand niet openen."},
    // Safety messages of the fog run.
    {kBackupFailedMsg, "Meldingen", "Backup_mislukt",
     "De reservekopie van de route kon niet worden gemaakt. Er is niets gewijzigd: de bestanden "
     "van de route zijn onaangeroerd gelaten."},
    {kRestoreFailedMsg, "Meldingen", "Herstel_mislukt",
     "De volgende bestanden konden niet worden teruggezet:"},
    {kRunPendingMsg, "Meldingen", "Run_open",
     "De mist van een eerdere sessie is nog niet verwijderd. Klik op \"Ga terug en herstel alles\" "
     "om de bestanden van de route terug te zetten."},
    {kInUseMsg, "Meldingen", "Al_gestart",
     "ZEL Nevora is al gestart en werkt met deze map Dump. Twee exemplaren tegelijk zouden "
     "elkaars bestanden overschrijven: sluit eerst het andere exemplaar."},
    {kInstallFailedMsg, "Meldingen", "Mist_mislukt",
     "De mist kon niet worden gemaakt. Wat al was vervangen, is teruggezet. Deze bestanden "
     "konden niet worden gelezen of vervangen:"},
    {kRecordRefusedMsg, "Meldingen", "Herstel_ongeldig",
     "Het herstelbestand is ongeldig en is niet gebruikt: er is niets teruggezet of verwijderd. "
     "U vindt het bestand hier:"},
    {kAlreadyFoggedMsg, "Meldingen", "Al_mist",
     "Deze route heeft al mist: dit bestand is een mistbestand van ZEL Nevora. Er is niets "
     "gewijzigd. Herstel de route eerst met het exemplaar van ZEL Nevora dat de mist heeft "
     "gemaakt:"},
    {kLockNotAFileMsg, "Meldingen", "Dump_bezet_fout",
     "ZEL Nevora kan de map Dump niet in gebruik nemen: het slotbestand hieronder is geen gewoon "
     "bestand, dus niets houdt een tweede exemplaar tegen. Er is niets gewijzigd. Verwijder het "
     "en start het programma opnieuw:"},
    // Open Rails takes its fog from activities and weather files: the option and its summary.
    {kOpenRailsAction, "Menu", "OpenRails1", "Ook voor Open Rails"},
    {kInfoOpenRailsActivities, "Infobox tekst", "open rails activiteiten",
     "Open Rails-activiteiten met mist:"},
    {kInfoOpenRailsWeatherFile, "Infobox tekst", "open rails weerbestand",
     "Open Rails-weerbestand:"},
    {kInfoOpenRailsSkipped, "Infobox tekst", "open rails niet gelezen",
     "Overgeslagen:"},
    // The word a fogged copy's display name gets, as in "Goederentrein (mist 50 m)".
    {kOpenRailsFogWord, "Infobox tekst", "mist woord", "mist"},
};
static_assert(std::size(kMain) == kMainTargetCount);

constexpr PackText kLanguageWindow[] = {
    {kLangQuestionLabel, "Taal Scherm", "label1",
     "Selecteer de taal welke ZEL Nevora moet gebruiken."},
    {kLangCaption, "Taal Scherm", "titel", "Kies uw taal"},
    {kLangOkButton, "Taal Scherm", "button1", nullptr},
};

constexpr PackText kLocator[] = {
    {kLocCaption, "locatie scherm", "titel", "Locatie"},
    {kLocIntroLabel, "locatie scherm", "label1",
     "Voor u verder kan moet eerst de locatie worden aangegeven waar Microsoft Train Simulator is "
     "ge\xEFnstalleerd."},
    {kLocContinueButton, "locatie scherm", "button1", "Ga Verder"},
    {kLocBrowseButton, "locatie scherm", "button2", "Bladeren..."},
    {kLocFolderGroup, "locatie scherm", "groupbox1", "Locatie:"},
    {kLocBrowseTitle, "map dialoog", "BrowseTekst", "Selecteer een map..."},
    {kLocErrorTitle, "Meldingen", "Titel", "Fout"},
    {kLocNotFoundMsg, "Meldingen", "Kan_niet_vinden",
     "\"Microsoft Train Simulator\" is niet gevonden! Controleer of het opgegeven pad juist is."},
    {kLocFoundMsg, "Meldingen", "Is_Gevonden", "\"Microsoft Train Simulator\" is met succes gevonden!"},
    {kLocFoundTitle, "Meldingen", "Gevonden_Titel", "Voltooid"},
};

constexpr PackText kAbout[] = {
    {kAboutCaption, "About Dlg", "Titel", "Info..."},
    {kAboutProduct, "About Dlg", "product", "Product:"},
    {kAboutVersion, "About Dlg", "Versie", "Versie:"},
    {kAboutWeb, "About Dlg", "Web", "Web:"},
    {kAboutMail, "About Dlg", "Mail", "E-Mail:"},
    {kAboutMailAddress, "About Dlg", "mail_adres", "Stuur een E-mail"},
    {kAboutButton, "About Dlg", "button", "OK"},
};

}  // namespace

std::span<const PackText> MainWindowTexts() { return kMain; }
std::span<const PackText> LanguageWindowTexts() { return kLanguageWindow; }
std::span<const PackText> LocatorTexts() { return kLocator; }
std::span<const PackText> AboutTexts() { return kAbout; }

std::vector<PackKey> AllPackKeys() {
    std::vector<PackKey> keys = {{kFileInfoSection, "Language"}, {kFileInfoSection, "Program"}};
    for (auto table : {MainWindowTexts(), LanguageWindowTexts(), LocatorTexts(), AboutTexts()}) {
        for (const auto& row : table) {
            PackKey key{row.section, row.key};
            bool seen = false;
            for (const auto& k : keys) seen = seen || k == key;
            if (!seen) keys.push_back(std::move(key));
        }
    }
    return keys;
}

std::vector<LoadedText> LoadTexts(std::span<const PackText> table, const std::string& language) {
    std::vector<LoadedText> out;
    out.reserve(table.size());
    const bool dutch = language == kDutch;
    for (const auto& row : table) {
        std::string text = dutch ? "" : ReadPackString(language, row.section, row.key);
        if (dutch || (text.empty() && ShownInABox(row))) {
            out.push_back({row.target, row.dutch ? row.dutch : "", row.dutch == nullptr});
        } else {
            out.push_back({row.target, std::move(text), false});
        }
    }
    return out;
}

std::vector<LoadedText> LoadTextsOrBuiltIn(std::span<const PackText> table,
                                           const std::string& language) {
    return LoadTexts(table, PackAccepted(language) ? language : kDutch);
}

}  // namespace settings
