// Help codes: what the help display shows, by the code a screen opens it with (the SIG_INIT
// parameter of BHA_Hilfeanzeige). A code is named by the screen family that uses it and the item
// it explains; the help display's table gives each code its title and text.
#pragma once

#include <cstdint>

using HelpCode = uint32_t;

// The general help and the quick instructions.
inline constexpr HelpCode HLP_ALLGEMEIN = 16;
inline constexpr HelpCode HLP_KURZANLEITUNG = 17;

// The items of the basic display menu.
inline constexpr HelpCode HLP_BGA_STOERUNG = 18;
inline constexpr HelpCode HLP_BGA_WARTUNG = 19;
inline constexpr HelpCode HLP_BGA_HEIZUNG = 20;
inline constexpr HelpCode HLP_BGA_WARMWASSER = 21;
inline constexpr HelpCode HLP_BGA_SOLARENERGIE = 22;
inline constexpr HelpCode HLP_BGA_INFORMATION = 23;
inline constexpr HelpCode HLP_BGA_PRUEFBETRIEB = 24;

// The messages of the basic display, commissioning, the flue-gas test and the clock dialog.
inline constexpr HelpCode HLP_INBETRIEBNAHME = 25;
inline constexpr HelpCode HLP_BMA_STOERUNG = 26;
inline constexpr HelpCode HLP_BMA_FEUERUNGSAUTOMAT = 27;
inline constexpr HelpCode HLP_BMA_KALIBRATION = 28;
inline constexpr HelpCode HLP_BMA_PARAMETRIERUNG = 29;
inline constexpr HelpCode HLP_ABGASPRUEFUNG = 30;
inline constexpr HelpCode HLP_UHRZEIT_DATUM = 31;
inline constexpr HelpCode HLP_BMA_WARTUNG = 32;

// The end-user menu.
inline constexpr HelpCode HLP_BEE_RAUM_SOLLTEMP = 33;
inline constexpr HelpCode HLP_BEE_BETRIEBSPROGRAMM = 34;
inline constexpr HelpCode HLP_BEE_PARTYBETRIEB = 35;
inline constexpr HelpCode HLP_BEE_SPARBETRIEB = 36;

// The operating programmes.
inline constexpr HelpCode HLP_BETRIEBSART_HEIZEN_UND_WARMWASSER = 37;
inline constexpr HelpCode HLP_BETRIEBSART_NUR_WARMWASSER = 38;
inline constexpr HelpCode HLP_BETRIEBSART_ABSCHALTBETRIEB = 39;

// The heating-circuit menu.
inline constexpr HelpCode HLP_BHKM_RAUM_SOLLTEMPERATUR = 40;
inline constexpr HelpCode HLP_BHKM_RED_RAUM_SOLLTEMP = 41;
inline constexpr HelpCode HLP_BHKM_BETRIEBSPROGRAMM = 42;
inline constexpr HelpCode HLP_BHKM_PARTYBETRIEB = 43;
inline constexpr HelpCode HLP_BHKM_SPARBETRIEB = 44;
inline constexpr HelpCode HLP_BHKM_ZEITPROGRAMM_HEIZUNG = 45;
inline constexpr HelpCode HLP_BHKM_FERIENPROGRAMM = 46;
inline constexpr HelpCode HLP_BHKM_HEIZKENNLINIE = 47;

// The heating time program: its periods, then its phase list and editors.
inline constexpr HelpCode HLP_BHKS_MONTAG_SONNTAG = 48;
inline constexpr HelpCode HLP_BHKS_MONTAG_FREITAG = 49;
inline constexpr HelpCode HLP_BHKS_SAMSTAG_SONNTAG = 50;
inline constexpr HelpCode HLP_BHKS_MONTAG = 51;
inline constexpr HelpCode HLP_BHKS_DIENSTAG = 52;
inline constexpr HelpCode HLP_BHKS_MITTWOCH = 53;
inline constexpr HelpCode HLP_BHKS_DONNERSTAG = 54;
inline constexpr HelpCode HLP_BHKS_FREITAG = 55;
inline constexpr HelpCode HLP_BHKS_SAMSTAG = 56;
inline constexpr HelpCode HLP_BHKS_SONNTAG = 57;
inline constexpr HelpCode HLP_BHKS_SCHALTZEITEN = 58;

// The holiday programme's days, the heating curve's slope and level.
inline constexpr HelpCode HLP_BFP_ABREISETAG = 59;
inline constexpr HelpCode HLP_BFP_RUECKREISETAG = 60;
inline constexpr HelpCode HLP_BHKH_NEIGUNG = 61;
inline constexpr HelpCode HLP_BHKH_NIVEAU = 62;

// The hot-water menu.
inline constexpr HelpCode HLP_BWWM_WARMWASSERTEMPERATUR = 63;
inline constexpr HelpCode HLP_BWWM_ZEITPROGR_WARMWASSER = 64;
inline constexpr HelpCode HLP_BWWM_ZEITPROGR_ZIRKULATION = 65;

// The hot-water time program: automatic or individual, its periods, its phase list.
inline constexpr HelpCode HLP_BWWS_AUTOMATIK = 66;
inline constexpr HelpCode HLP_BWWS_INDIVIDUELL = 67;
inline constexpr HelpCode HLP_BWWS_MONTAG_SONNTAG = 68;
inline constexpr HelpCode HLP_BWWS_MONTAG_FREITAG = 69;
inline constexpr HelpCode HLP_BWWS_SAMSTAG_SONNTAG = 70;
inline constexpr HelpCode HLP_BWWS_MONTAG = 71;
inline constexpr HelpCode HLP_BWWS_DIENSTAG = 72;
inline constexpr HelpCode HLP_BWWS_MITTWOCH = 73;
inline constexpr HelpCode HLP_BWWS_DONNERSTAG = 74;
inline constexpr HelpCode HLP_BWWS_FREITAG = 75;
inline constexpr HelpCode HLP_BWWS_SAMSTAG = 76;
inline constexpr HelpCode HLP_BWWS_SONNTAG = 77;
inline constexpr HelpCode HLP_BWWS_SCHALTZEITEN = 78;

// The circulation time program, in the same order.
inline constexpr HelpCode HLP_BZPS_AUTOMATIK = 79;
inline constexpr HelpCode HLP_BZPS_INDIVIDUELL = 80;
inline constexpr HelpCode HLP_BZPS_MONTAG_SONNTAG = 81;
inline constexpr HelpCode HLP_BZPS_MONTAG_FREITAG = 82;
inline constexpr HelpCode HLP_BZPS_SAMSTAG_SONNTAG = 83;
inline constexpr HelpCode HLP_BZPS_MONTAG = 84;
inline constexpr HelpCode HLP_BZPS_DIENSTAG = 85;
inline constexpr HelpCode HLP_BZPS_MITTWOCH = 86;
inline constexpr HelpCode HLP_BZPS_DONNERSTAG = 87;
inline constexpr HelpCode HLP_BZPS_FREITAG = 88;
inline constexpr HelpCode HLP_BZPS_SAMSTAG = 89;
inline constexpr HelpCode HLP_BZPS_SONNTAG = 90;
inline constexpr HelpCode HLP_BZPS_SCHALTZEITEN = 91;

// The main menu.
inline constexpr HelpCode HLP_BGM_STOERUNG = 92;
inline constexpr HelpCode HLP_BGM_WARTUNG = 93;
inline constexpr HelpCode HLP_BGM_HEIZUNG = 94;
inline constexpr HelpCode HLP_BGM_WARMWASSER = 95;
inline constexpr HelpCode HLP_BGM_INFORMATION = 96;
inline constexpr HelpCode HLP_BGM_EINSTELLUNGEN = 97;
inline constexpr HelpCode HLP_BGM_SERVICE = 98;

// The expert information menu.
inline constexpr HelpCode HLP_BEIM_ALLGEMEIN = 99;
inline constexpr HelpCode HLP_BEIM_HEIZKREIS_1 = 100;
inline constexpr HelpCode HLP_BEIM_HEIZKREIS_2 = 101;
inline constexpr HelpCode HLP_BEIM_WARMWASSER = 102;
inline constexpr HelpCode HLP_BEIM_SOLAR = 103;
inline constexpr HelpCode HLP_BEIM_DATEN_ZURUECKSETZEN = 104;

// The settings menu, the brightness menu and the circuit label.
inline constexpr HelpCode HLP_BEM_UHRZEIT_DATUM = 105;
inline constexpr HelpCode HLP_BEM_SPRACHE = 106;
inline constexpr HelpCode HLP_BEM_KONTRAST = 107;
inline constexpr HelpCode HLP_BEM_HELLIGKEIT = 108;
inline constexpr HelpCode HLP_BEM_TEMPERATUREINHEIT = 109;
inline constexpr HelpCode HLP_BEM_HEIZKREISBESCHRIFTUNG = 110;
inline constexpr HelpCode HLP_BEM_GRUNDEINSTELLUNG = 111;
inline constexpr HelpCode HLP_BHM_BEDIENUNG = 112;
inline constexpr HelpCode HLP_BHM_DISPLAYSCHONER = 113;
inline constexpr HelpCode HLP_HEIZKREISBESCHRIFTUNG = 114;

// The maintenance dialog.
inline constexpr HelpCode HLP_BWD_BRENNER = 115;
inline constexpr HelpCode HLP_BWD_ZEITINTERVALL = 116;
inline constexpr HelpCode HLP_BWD_QUITTIEREN = 117;
inline constexpr HelpCode HLP_BWD_RESET = 118;

// The fault dialog and the fault history: one code per record (0..9) of either list, which shows
// the record itself.
inline constexpr HelpCode HLP_BSD_EINTRAG_0 = 119;
inline constexpr HelpCode HLP_BSD_QUITTIEREN = 129;
inline constexpr HelpCode HLP_BFH_EINTRAG_0 = 130;
inline constexpr HelpCode HLP_BFH_LOESCHEN = 140;

inline constexpr HelpCode HLP_FIRST = HLP_ALLGEMEIN;
inline constexpr HelpCode HLP_LAST = HLP_BFH_LOESCHEN;
inline constexpr HelpCode HLP_RECORDS = 10; // records of the fault list and the fault history
