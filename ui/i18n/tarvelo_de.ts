<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CodeTables</name>
    <message>
        <source>en</source>
        <comment>the locale of numbers: en, de</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>Independent</source>
        <translation>Freie Werkstatt</translation>
    </message>
    <message>
        <source>BMW Service</source>
        <translation>BMW-Service</translation>
    </message>
    <message>
        <source>UNKNOWN</source>
        <translation>UNBEKANNT</translation>
    </message>
    <message>
        <source>Engine oil</source>
        <translation>Motoröl</translation>
    </message>
    <message>
        <source>Front Brake</source>
        <translation>Bremse vorn</translation>
    </message>
    <message>
        <source>Brake fluid</source>
        <translation>Bremsflüssigkeit</translation>
    </message>
    <message>
        <source>Micro-filter</source>
        <translation>Mikrofilter</translation>
    </message>
    <message>
        <source>Recirculating air filter</source>
        <translation>Umluftfilter</translation>
    </message>
    <message>
        <source>Rear Brake</source>
        <translation>Bremse hinten</translation>
    </message>
    <message>
        <source>Spark plugs</source>
        <translation>Zündkerzen</translation>
    </message>
    <message>
        <source>Air filter element</source>
        <translation>Luftfiltereinsatz</translation>
    </message>
    <message>
        <source>Fuel filter</source>
        <translation>Kraftstofffilter</translation>
    </message>
    <message>
        <source>Pre-delivery inspection</source>
        <translation>Auslieferungsinspektion</translation>
    </message>
    <message>
        <source>Service - running in check</source>
        <translation>Service - Einfahrkontrolle</translation>
    </message>
    <message>
        <source>Statutory vehicle inspection</source>
        <translation>Hauptuntersuchung</translation>
    </message>
    <message>
        <source>Statutory emissions test</source>
        <translation>Abgasuntersuchung</translation>
    </message>
    <message>
        <source>Vehicle check</source>
        <translation>Fahrzeug-Check</translation>
    </message>
    <message>
        <source>ON TIME</source>
        <translation>PÜNKTLICH</translation>
    </message>
    <message>
        <source>LATE</source>
        <translation>VERSPÄTET</translation>
    </message>
    <message>
        <source>INCOMPLETE</source>
        <translation>UNVOLLSTÄNDIG</translation>
    </message>
    <message>
        <source>INDEPENDENT</source>
        <translation>FREIE WERKSTATT</translation>
    </message>
    <message>
        <source>BMW DEALER</source>
        <translation>BMW-HÄNDLER</translation>
    </message>
    <message>
        <source>OVERDUE</source>
        <translation>ÜBERFÄLLIG</translation>
    </message>
</context>
<context>
    <name>Columns</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>KM stand</source>
        <translation>km-Stand</translation>
    </message>
    <message>
        <source>Workshop type</source>
        <translation>Werkstatttyp</translation>
    </message>
    <message>
        <source>Workshop ID</source>
        <translation>Werkstatt-ID</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>CNT</source>
        <translation>Anz.</translation>
    </message>
    <message>
        <source>SERVICE TYPE</source>
        <translation>ARBEIT</translation>
    </message>
    <message>
        <source>STATUS</source>
        <translation>STATUS</translation>
    </message>
</context>
<context>
    <name>EnetLog</name>
    <message>
        <source>the erase request</source>
        <comment>after: before</comment>
        <translation>der Löschanfrage</translation>
    </message>
    <message>
        <source>the erase request</source>
        <comment>object</comment>
        <translation>die Löschanfrage</translation>
    </message>
    <message>
        <source>the reset request</source>
        <comment>after: before</comment>
        <translation>der Neustartanfrage</translation>
    </message>
    <message>
        <source>the reset request</source>
        <comment>object</comment>
        <translation>die Neustartanfrage</translation>
    </message>
    <message>
        <source>no connection to the car</source>
        <translation>keine Verbindung zum Auto</translation>
    </message>
    <message>
        <source>the car did not answer in time</source>
        <translation>das Auto hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>the car closed the connection</source>
        <translation>das Auto hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>the answer was longer than 4,096 bytes</source>
        <translation>die Antwort war länger als 4.096 Bytes</translation>
    </message>
    <message>
        <source>the request was too long to send</source>
        <translation>die Anfrage war zu lang zum Senden</translation>
    </message>
    <message>
        <source>stopped by the user</source>
        <translation>vom Benutzer gestoppt</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>keine Antwort</translation>
    </message>
    <message>
        <source>[ BEGIN ]</source>
        <translation>[ BEGINN ]</translation>
    </message>
    <message>
        <source>[ COMPLETE ]</source>
        <translation>[ FERTIG ]</translation>
    </message>
    <message>
        <source>[ ERROR ]</source>
        <translation>[ FEHLER ]</translation>
    </message>
    <message>
        <source>- Connected to %1</source>
        <translation>- Verbunden mit %1</translation>
    </message>
    <message>
        <source>- Erasing current service history...</source>
        <translation>- Aktuelle Servicehistorie wird gelöscht...</translation>
    </message>
    <message>
        <source>- Writing new service history...</source>
        <translation>- Neue Servicehistorie wird geschrieben...</translation>
    </message>
    <message>
        <source>- Finished writing, restarting Headunit...</source>
        <translation>- Schreiben beendet, Headunit wird neu gestartet...</translation>
    </message>
    <message>
        <source>- The connection was lost at %1; connected again, writing the whole history again...</source>
        <translation>- Die Verbindung brach bei %1 ab; neu verbunden, die ganze Historie wird noch einmal geschrieben...</translation>
    </message>
    <message>
        <source>ERR: Service history list is empty!</source>
        <translation>FEHLER: Die Servicehistorie ist leer!</translation>
    </message>
    <message>
        <source>ERR: Stopped by the user while connecting to %1 again.</source>
        <translation>FEHLER: Vom Benutzer gestoppt beim erneuten Verbinden mit %1.</translation>
    </message>
    <message>
        <source>ERR: Stopped by the user while connecting to %1.</source>
        <translation>FEHLER: Vom Benutzer gestoppt beim Verbinden mit %1.</translation>
    </message>
    <message>
        <source>ERR: Could not connect to target again: %1</source>
        <translation>FEHLER: Auch erneut keine Verbindung zum Ziel: %1</translation>
    </message>
    <message>
        <source>ERR: Could not connect to target: %1</source>
        <translation>FEHLER: Keine Verbindung zum Ziel: %1</translation>
    </message>
    <message>
        <source>ERR: Stopped by the user before %1.</source>
        <translation>FEHLER: Vom Benutzer gestoppt vor %1.</translation>
    </message>
    <message>
        <source>ERR: The car closed the connection before %1.</source>
        <translation>FEHLER: Das Auto hat die Verbindung vor %1 geschlossen.</translation>
    </message>
    <message>
        <source>ERR: No answer to %1 (%2)</source>
        <translation>FEHLER: Keine Antwort auf %1 (%2)</translation>
    </message>
    <message>
        <source>ERR: Head unit refused %1: %2</source>
        <translation>FEHLER: Die Headunit hat %1 abgelehnt: %2</translation>
    </message>
    <message>
        <source>ERR: Unexpected answer to %1: %2</source>
        <translation>FEHLER: Unerwartete Antwort auf %1: %2</translation>
    </message>
    <message>
        <source>ERR: The old service history was not erased, so nothing was written.</source>
        <translation>FEHLER: Die alte Servicehistorie wurde nicht gelöscht, daher wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>ERR: The erase got no answer: the head unit holds its old history, or nothing if it erased it; nothing of the list was written.</source>
        <translation>FEHLER: Auf das Löschen kam keine Antwort: Die Headunit enthält ihre alte Historie oder nichts, falls sie gelöscht hat; nichts von der Liste wurde geschrieben.</translation>
    </message>
    <message>
        <source>ERR: The connection was lost %1 times, so the write stopped.</source>
        <translation>FEHLER: Die Verbindung brach %1-mal ab, daher wurde das Schreiben beendet.</translation>
    </message>
    <message>
        <source>ERR: The connection was lost at %1, so the write stopped (without the erase, a new connection could only add a gap or a duplicate).</source>
        <translation>FEHLER: Die Verbindung brach bei %1 ab, daher wurde das Schreiben beendet (ohne Löschen könnte eine neue Verbindung nur eine Lücke oder ein Duplikat erzeugen).</translation>
    </message>
    <message>
        <source>Found %1</source>
        <translation>Gefunden: %1</translation>
    </message>
    <message>
        <source>No gateway has answered yet. Check the ENET cable, that the ignition is on, and that this computer has an address on the car&apos;s network (it may take half a minute after plugging in). Still looking...</source>
        <translation>Noch hat kein Gateway geantwortet. Prüfen Sie das ENET-Kabel, ob die Zündung an ist und ob dieser Computer eine Adresse im Netz des Autos hat (nach dem Einstecken kann das eine halbe Minute dauern). Die Suche geht weiter...</translation>
    </message>
    <message>
        <source>Entry %1 of %2: the head unit asks for more time (%3 s)</source>
        <translation>Eintrag %1 von %2: Die Headunit bittet um mehr Zeit (%3 s)</translation>
    </message>
    <message>
        <source>Erasing the old history: the head unit asks for more time (%1 s)</source>
        <translation>Löschen der alten Historie: Die Headunit bittet um mehr Zeit (%1 s)</translation>
    </message>
    <message>
        <source>Restarting the head unit: the head unit asks for more time (%1 s)</source>
        <translation>Neustart der Headunit: Die Headunit bittet um mehr Zeit (%1 s)</translation>
    </message>
    <message>
        <source>entry %1 of %2</source>
        <translation>Eintrag %1 von %2</translation>
    </message>
    <message>
        <source>no entry of the list</source>
        <translation>keinen Eintrag der Liste</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>Einträge</translation>
    </message>
    <message>
        <source>entry</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>to</source>
        <comment>entries 1 to 2</comment>
        <translation>bis</translation>
    </message>
    <message>
        <source>and</source>
        <comment>entries 1, 3 and 5</comment>
        <translation>und</translation>
    </message>
    <message>
        <source>of</source>
        <comment>entries 1 to 2 of 5</comment>
        <translation>von</translation>
    </message>
    <message>
        <source>ERR: The head unit holds %1</source>
        <translation>FEHLER: Die Headunit enthält %1</translation>
    </message>
    <message>
        <source>ERR: The head unit holds its old history and %1</source>
        <translation>FEHLER: Die Headunit enthält ihre alte Historie und %1</translation>
    </message>
    <message>
        <source>; it refused %1</source>
        <translation>; sie hat %1 abgelehnt</translation>
    </message>
    <message>
        <source>; %1 got no answer or an unexpected one, so it may be there too</source>
        <translation>; auf %1 kam keine oder eine unerwartete Antwort, daher kann er auch dort sein</translation>
    </message>
    <message>
        <source>; %1 got no answer or an unexpected one, so they may be there too</source>
        <translation>; auf %1 kam keine oder eine unerwartete Antwort, daher können sie auch dort sein</translation>
    </message>
    <message>
        <source>; %1 was not written</source>
        <translation>; %1 wurde nicht geschrieben</translation>
    </message>
    <message>
        <source>; %1 were not written</source>
        <translation>; %1 wurden nicht geschrieben</translation>
    </message>
</context>
<context>
    <name>FileIo</name>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Die Datei „%1“ kann nicht geöffnet werden. %2</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Die Datei „%1“ kann nicht erstellt werden. %2</translation>
    </message>
</context>
<context>
    <name>HistoryCheck</name>
    <message>
        <source>Entry %1: %2 is not a calendar date.</source>
        <translation>Eintrag %1: %2 ist kein Kalenderdatum.</translation>
    </message>
    <message>
        <source>Entry %1: %2 is after today, %3.</source>
        <translation>Eintrag %1: Der %2 liegt nach dem heutigen Tag (%3).</translation>
    </message>
    <message>
        <source>Entry %1: %2 km on %3 is less than entry %4&apos;s %5 km on %6.</source>
        <translation>Eintrag %1: %2 km am %3 sind weniger als die %5 km von Eintrag %4 am %6.</translation>
    </message>
    <message>
        <source>Entry %1: %2 km is more than the editor takes (%3).</source>
        <translation>Eintrag %1: %2 km sind mehr, als der Editor annimmt (%3).</translation>
    </message>
    <message>
        <source>Entry %1: the same as entry %2 (%3, %4 km).</source>
        <translation>Eintrag %1: derselbe wie Eintrag %2 (%3, %4 km).</translation>
    </message>
    <message>
        <source>Entry %1: no procedure; the editor asks for at least one.</source>
        <translation>Eintrag %1: keine Arbeit; der Editor verlangt mindestens eine.</translation>
    </message>
    <message>
        <source>Entry %1: the workshop ID is empty.</source>
        <translation>Eintrag %1: Die Werkstatt-ID ist leer.</translation>
    </message>
    <message>
        <source>Entry %1: the workshop ID holds a control character (%2 at character %3).</source>
        <translation>Eintrag %1: Die Werkstatt-ID enthält ein Steuerzeichen (%2 an Stelle %3).</translation>
    </message>
    <message>
        <source>Entry %1: the workshop ID has %2 characters, at most %3 fit.</source>
        <translation>Eintrag %1: Die Werkstatt-ID hat %2 Zeichen, höchstens %3 passen.</translation>
    </message>
</context>
<context>
    <name>HistoryFile</name>
    <message>
        <source>Invalid data: %1</source>
        <translation>Ungültige Daten: %1</translation>
    </message>
    <message>
        <source>the file is too big for the memory left</source>
        <translation>die Datei ist zu groß für den freien Arbeitsspeicher</translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>type code</source>
        <translation>Typcode</translation>
    </message>
    <message>
        <source>status code</source>
        <translation>Statuscode</translation>
    </message>
    <message>
        <source>service type</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>reserved bytes</source>
        <translation>reservierte Bytes</translation>
    </message>
    <message>
        <source>procedure %1&apos;s %2</source>
        <translation>%2 von Arbeit %1</translation>
    </message>
    <message>
        <source>the number of procedures</source>
        <translation>die Anzahl der Arbeiten</translation>
    </message>
    <message>
        <source>type code %1</source>
        <translation>Typcode %1</translation>
    </message>
    <message>
        <source>status code %1</source>
        <translation>Statuscode %1</translation>
    </message>
    <message>
        <source>Workshop type code %1</source>
        <translation>„Workshop type code“ %1</translation>
    </message>
    <message>
        <source>Status code %1</source>
        <translation>„Status code“ %1</translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation>1 Byte</translation>
    </message>
    <message>
        <source>4 bytes (day, month, year)</source>
        <translation>4 Bytes (Tag, Monat, Jahr)</translation>
    </message>
    <message>
        <source>6 bytes</source>
        <translation>6 Bytes</translation>
    </message>
    <message>
        <source>7 bytes</source>
        <translation>7 Bytes</translation>
    </message>
    <message>
        <source>null</source>
        <translation>null</translation>
    </message>
    <message>
        <source>boolean</source>
        <translation>ein Wahrheitswert</translation>
    </message>
    <message>
        <source>array</source>
        <translation>eine Liste</translation>
    </message>
    <message>
        <source>object</source>
        <translation>ein Objekt</translation>
    </message>
    <message>
        <source>the JSON text</source>
        <translation>JSON-Text</translation>
    </message>
    <message>
        <source>item %1 of a list</source>
        <translation>Element %1 einer Liste</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>commas</source>
        <translation>Kommas</translation>
    </message>
    <message>
        <source>semicolons</source>
        <translation>Semikolons</translation>
    </message>
    <message>
        <source>tabs</source>
        <translation>Tabulatoren</translation>
    </message>
    <message>
        <source>byte order mark %1</source>
        <translation>Byte-Order-Mark %1</translation>
    </message>
    <message>
        <source>no &quot;%1&quot;; add it, as export writes it (an empty list for an entry without procedures)</source>
        <translation>Feld %1 fehlt; ergänzen Sie es, wie der Export es schreibt (eine leere Liste für einen Eintrag ohne Arbeiten)</translation>
    </message>
    <message>
        <source>no &quot;%1&quot;; add it, as export writes it</source>
        <translation>Feld %1 fehlt; ergänzen Sie es, wie der Export es schreibt</translation>
    </message>
    <message>
        <source>KM &quot;%1&quot; is not a whole number from 0 to 4294967295</source>
        <translation>Feld „KM“: „%1“ ist keine ganze Zahl von 0 bis 4294967295</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a whole number from 0 to 255</source>
        <translation>Feld %1: „%2“ ist keine ganze Zahl von 0 bis 255</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not %3 of hex</source>
        <translation>Feld %1: „%2“ ist kein Hex-Text von %3</translation>
    </message>
    <message>
        <source>Date &quot;%1&quot; is not a calendar date written YYYY-MM-DD (or D.M.YYYY)</source>
        <translation>Datum „%1“ ist kein Kalenderdatum in der Form JJJJ-MM-TT (oder T.M.JJJJ)</translation>
    </message>
    <message>
        <source>Date is empty; write the date as YYYY-MM-DD</source>
        <translation>Das Datum ist leer; schreiben Sie es als JJJJ-MM-TT</translation>
    </message>
    <message>
        <source>Date &quot;%1&quot; has a year of 1 digit; write the year in full (YYYY-MM-DD or D.M.YYYY): a spreadsheet that saves dates with short years drops the century</source>
        <translation>Datum „%1“ hat eine einstellige Jahreszahl; schreiben Sie das Jahr vollständig (JJJJ-MM-TT oder T.M.JJJJ): Eine Tabellenkalkulation, die Daten mit kurzen Jahreszahlen speichert, lässt das Jahrhundert weg</translation>
    </message>
    <message>
        <source>Date &quot;%1&quot; has a year of %2 digits; write the year in full (YYYY-MM-DD or D.M.YYYY): a spreadsheet that saves dates with short years drops the century</source>
        <translation>Datum „%1“ hat eine Jahreszahl mit %2 Stellen; schreiben Sie das Jahr vollständig (JJJJ-MM-TT oder T.M.JJJJ): Eine Tabellenkalkulation, die Daten mit kurzen Jahreszahlen speichert, lässt das Jahrhundert weg</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; does not match %3 &quot;%4&quot;, which is &quot;%5&quot; (a spreadsheet may have rewritten the text, or it was edited without the bytes): to take &quot;%2&quot;, clear the %3 cell; to keep &quot;%5&quot;, clear the %1 cell</source>
        <translation>„%2“ in Feld %1 passt nicht zu „%4“ in Feld %3, das „%5“ ergibt (eine Tabellenkalkulation hat den Text vielleicht umgeschrieben, oder er wurde ohne die Bytes geändert): Um „%2“ zu übernehmen, leeren Sie das Feld %3; um „%5“ zu behalten, leeren Sie das Feld %1</translation>
    </message>
    <message>
        <source>Workshop ID &quot;%1&quot; holds &quot;%2&quot;, which the code page cannot hold</source>
        <translation>Werkstatt-ID „%1“ enthält „%2“, das die Codepage nicht darstellen kann</translation>
    </message>
    <message>
        <source>Workshop ID &quot;%1&quot; takes %2 bytes in the code page, at most %3 fit</source>
        <translation>Werkstatt-ID „%1“ braucht %2 Bytes in der Codepage, höchstens %3 passen</translation>
    </message>
    <message>
        <source>Workshop ID &quot;%1&quot; holds a zero character; give its bytes in &quot;Workshop ID bytes&quot;</source>
        <translation>Werkstatt-ID „%1“ enthält ein Nullzeichen; geben Sie ihre Bytes im Feld „Workshop ID bytes“ an</translation>
    </message>
    <message>
        <source>Workshop ID &quot;%1&quot; looks like &quot;%2&quot; read in the wrong character set (UTF-8 read as Western 8-bit text); open the file that export wrote again as &quot;Unicode (UTF-8)&quot;, or give the ID&apos;s bytes in &quot;Workshop ID bytes&quot;</source>
        <translation>Werkstatt-ID „%1“ sieht aus wie „%2“, im falschen Zeichensatz gelesen (UTF-8 als westeuropäischer 8-Bit-Text); öffnen Sie die Datei, die der Export geschrieben hat, noch einmal als „Unicode (UTF-8)“, oder geben Sie die Bytes der ID im Feld „Workshop ID bytes“ an</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not the text of %3 (&quot;%4&quot;)</source>
        <translation>Feld %1: „%2“ ist nicht der Text für %3 („%4“)</translation>
    </message>
    <message>
        <source>Procedures &quot;%1&quot; are not &quot;TYPE (code): STATUS (code)&quot; items separated by &quot;;&quot;, for example &quot;Engine oil (1): ON TIME (1)&quot;</source>
        <translation>Feld „Procedures“: „%1“ sind keine durch „;“ getrennten Angaben der Form „TYPE (code): STATUS (code)“, zum Beispiel „Engine oil (1): ON TIME (1)“</translation>
    </message>
    <message>
        <source>Procedure reserved &quot;%1&quot; has %2 items for %3 procedures</source>
        <translation>Feld „Procedure reserved“: „%1“ hat %2 Angaben für %3 Arbeiten</translation>
    </message>
    <message>
        <source>%1 procedures, at most %2 fit in an entry</source>
        <translation>%1 Arbeiten, in einen Eintrag passen höchstens %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is %2, not a number or a text; write it as export writes it</source>
        <translation>„%1“ ist %2, keine Zahl und kein Text; schreiben Sie den Wert, wie der Export ihn schreibt</translation>
    </message>
    <message>
        <source>entry %1 is not an object; write it as {...}, as export does</source>
        <translation>Eintrag %1 ist kein Objekt; schreiben Sie ihn als {...}, wie der Export</translation>
    </message>
    <message>
        <source>&quot;Procedures&quot; is not a list; write it as [...], as export does</source>
        <translation>„Procedures“ ist keine Liste; schreiben Sie es als [...], wie der Export</translation>
    </message>
    <message>
        <source>procedure %1 is not an object; write it as {...}, as export does</source>
        <translation>Arbeit %1 ist kein Objekt; schreiben Sie sie als {...}, wie der Export</translation>
    </message>
    <message>
        <source>no &quot;entries&quot; list in a JSON object; the text must be {&quot;entries&quot;: [...]}, as export writes it</source>
        <translation>keine Liste „entries“ in einem JSON-Objekt; der Text muss {&quot;entries&quot;: [...]} lauten, wie der Export ihn schreibt</translation>
    </message>
    <message>
        <source>the &quot;entries&quot; list is empty; a history has at least one entry</source>
        <translation>die Liste „entries“ ist leer; eine Historie hat mindestens einen Eintrag</translation>
    </message>
    <message>
        <source>the key &quot;%1&quot; is there twice in one object (first on line %2); remove one of them, as only one can count</source>
        <translation>der Schlüssel „%1“ steht zweimal in einem Objekt (zuerst in Zeile %2); entfernen Sie einen davon, denn nur einer kann gelten</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is a number out of every range; write a whole number, as export writes it</source>
        <translation>%1: „%2“ ist eine Zahl außerhalb jedes Wertebereichs; schreiben Sie eine ganze Zahl, wie der Export sie schreibt</translation>
    </message>
    <message>
        <source>the JSON is nested deeper than %1 levels; a history has five (the entries, each entry, its procedures)</source>
        <translation>das JSON ist tiefer als %1 Ebenen verschachtelt; eine Historie hat fünf (die Einträge, jeder Eintrag, seine Arbeiten)</translation>
    </message>
    <message>
        <source>a quoted field is not closed; add its closing quote (a quote inside a quoted field is written twice: &quot;&quot;)</source>
        <translation>ein Feld in Anführungszeichen ist nicht geschlossen; ergänzen Sie das schließende Anführungszeichen (ein Anführungszeichen in einem Feld in Anführungszeichen wird doppelt geschrieben: &quot;&quot;)</translation>
    </message>
    <message>
        <source>text after the closing quote of a field; a quote inside a quoted field is written twice (&quot;&quot;), and the field ends at its closing quote</source>
        <translation>Text nach dem schließenden Anführungszeichen eines Felds; ein Anführungszeichen in einem Feld in Anführungszeichen wird doppelt geschrieben (&quot;&quot;), und das Feld endet an seinem schließenden Anführungszeichen</translation>
    </message>
    <message>
        <source>a quote inside a field that does not begin with one; put the whole field in quotes and write the quote twice (&quot;&quot;)</source>
        <translation>ein Anführungszeichen in einem Feld, das nicht mit einem beginnt; setzen Sie das ganze Feld in Anführungszeichen und schreiben Sie das Anführungszeichen doppelt (&quot;&quot;)</translation>
    </message>
    <message>
        <source>no header row; the first line names the columns, as export writes it</source>
        <translation>keine Kopfzeile; die erste Zeile nennt die Spalten, wie der Export sie schreibt</translation>
    </message>
    <message>
        <source>the column &quot;%1&quot; is there twice; delete one of them</source>
        <translation>die Spalte „%1“ gibt es zweimal; löschen Sie eine davon</translation>
    </message>
    <message>
        <source>the column &quot;%1&quot; is missing; the header row needs the columns %2, named as export names them, separated by commas, semicolons or tabs (this one has 1 column separated by %3)</source>
        <translation>die Spalte „%1“ fehlt; die Kopfzeile braucht die Spalten %2, benannt wie der Export sie benennt, getrennt durch Kommas, Semikolons oder Tabulatoren (diese hat 1 Spalte, getrennt durch %3)</translation>
    </message>
    <message>
        <source>the column &quot;%1&quot; is missing; the header row needs the columns %2, named as export names them, separated by commas, semicolons or tabs (this one has %3 columns separated by %4)</source>
        <translation>die Spalte „%1“ fehlt; die Kopfzeile braucht die Spalten %2, benannt wie der Export sie benennt, getrennt durch Kommas, Semikolons oder Tabulatoren (diese hat %3 Spalten, getrennt durch %4)</translation>
    </message>
    <message>
        <source>no entry below the header row; a history has at least one</source>
        <translation>kein Eintrag unter der Kopfzeile; eine Historie hat mindestens einen</translation>
    </message>
    <message>
        <source>%1 fields where the header row has %2; a field with a tab in it must be in quotes</source>
        <translation>%1 Felder, wo die Kopfzeile %2 hat; ein Feld mit einem Tabulator darin muss in Anführungszeichen stehen</translation>
    </message>
    <message>
        <source>%1 fields where the header row has %2; a field with a &quot;%3&quot; in it must be in quotes</source>
        <translation>%1 Felder, wo die Kopfzeile %2 hat; ein Feld mit einem „%3“ darin muss in Anführungszeichen stehen</translation>
    </message>
    <message>
        <source>the file is UTF-16 (%1) but holds half of a character pair; save it again as UTF-16 (&quot;Unicode text&quot;) or as UTF-8</source>
        <translation>die Datei ist UTF-16 (%1), enthält aber die Hälfte eines Zeichenpaars; speichern Sie sie noch einmal als UTF-16 („Unicode-Text“) oder als UTF-8</translation>
    </message>
    <message>
        <source>the file is UTF-16 (%1) but ends in the middle of a character; save it again as UTF-16 (&quot;Unicode text&quot;) or as UTF-8</source>
        <translation>die Datei ist UTF-16 (%1), endet aber mitten in einem Zeichen; speichern Sie sie noch einmal als UTF-16 („Unicode-Text“) oder als UTF-8</translation>
    </message>
    <message>
        <source>the file begins with &quot;ï»¿&quot;, the UTF-8 byte order mark read as Western 8-bit text: a spreadsheet opened this UTF-8 file in the wrong character set, which also turns &quot;ü&quot; into &quot;Ã¼&quot;; open the file that export wrote again, choose the character set &quot;Unicode (UTF-8)&quot; when the spreadsheet asks, and save it again</source>
        <translation>die Datei beginnt mit „ï»¿“, der UTF-8-Byte-Order-Mark, als westeuropäischer 8-Bit-Text gelesen: Eine Tabellenkalkulation hat diese UTF-8-Datei im falschen Zeichensatz geöffnet, was auch „ü“ zu „Ã¼“ macht; öffnen Sie die Datei, die der Export geschrieben hat, noch einmal, wählen Sie den Zeichensatz „Unicode (UTF-8)“, wenn die Tabellenkalkulation fragt, und speichern Sie sie noch einmal</translation>
    </message>
    <message>
        <source>the file begins with the UTF-8 byte order mark, but holds the byte %1, which is not UTF-8: it was saved in another character set after it was read; open the file that export wrote again, choose the character set &quot;Unicode (UTF-8)&quot; when the spreadsheet asks, and save it again</source>
        <translation>die Datei beginnt mit der UTF-8-Byte-Order-Mark, enthält aber das Byte %1, das kein UTF-8 ist: Sie wurde nach dem Lesen in einem anderen Zeichensatz gespeichert; öffnen Sie die Datei, die der Export geschrieben hat, noch einmal, wählen Sie den Zeichensatz „Unicode (UTF-8)“, wenn die Tabellenkalkulation fragt, und speichern Sie sie noch einmal</translation>
    </message>
    <message>
        <source>the file holds a zero byte beside every character, as UTF-16 text without a byte order mark does; save it again as UTF-8, or as UTF-16 (&quot;Unicode text&quot;) with the mark</source>
        <translation>die Datei enthält neben jedem Zeichen ein Nullbyte, wie UTF-16-Text ohne Byte-Order-Mark; speichern Sie sie noch einmal als UTF-8 oder als UTF-16 („Unicode-Text“) mit der Byte-Order-Mark</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>... and %1 more entries refused</source>
        <translation>... und %1 weitere Einträge abgelehnt</translation>
    </message>
</context>
<context>
    <name>ServiceBook</name>
    <message>
        <source>No. %1</source>
        <translation>Nr. %1</translation>
    </message>
    <message>
        <source>Service: %1</source>
        <translation>Service: %1</translation>
    </message>
    <message>
        <source>Service book</source>
        <translation>Serviceheft</translation>
    </message>
    <message>
        <source>Vehicle identification number (VIN): </source>
        <translation>Fahrzeug-Identifizierungsnummer (FIN): </translation>
    </message>
    <message>
        <source>1 service.</source>
        <translation>1 Service.</translation>
    </message>
    <message>
        <source>%1 services, the newest first.</source>
        <translation>%1 Services, der neueste zuerst.</translation>
    </message>
    <message>
        <source> Printed on %1 with Tarvelo %2.</source>
        <translation> Gedruckt am %1 mit Tarvelo %2.</translation>
    </message>
    <message>
        <source>Service book, VIN %1</source>
        <translation>Serviceheft, FIN %1</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>continued from page %1, procedures %2 to %3 of %4</source>
        <translation>Fortsetzung von Seite %1, Arbeiten %2 bis %3 von %4</translation>
    </message>
    <message>
        <source>No procedures recorded.</source>
        <translation>Keine Arbeiten eingetragen.</translation>
    </message>
</context>
<context>
    <name>ServiceRecord</name>
    <message>
        <source>An entry can hold at most 255 procedures</source>
        <translation>Ein Eintrag fasst höchstens 255 Arbeiten</translation>
    </message>
</context>
<context>
    <name>TFConnect</name>
    <message>
        <source>The history has 1 finding:
</source>
        <translation>Die Historie hat 1 Befund:
</translation>
    </message>
    <message>
        <source>The history has %1 findings:
</source>
        <translation>Die Historie hat %1 Befunde:
</translation>
    </message>
    <message>
        <source>
... and %1 more.</source>
        <translation>
... und %1 weitere.</translation>
    </message>
    <message>
        <source>

Write anyway?</source>
        <translation>

Trotzdem schreiben?</translation>
    </message>
    <message>
        <source>ENET Connection</source>
        <translation>ENET-Verbindung</translation>
    </message>
    <message>
        <source>CAR/ZGW/FEM/BDC IP</source>
        <translation>IP von Auto/ZGW/FEM/BDC</translation>
    </message>
    <message>
        <source>DETECT</source>
        <translation>SUCHEN</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Erase old service data</source>
        <translation>Alte Servicedaten löschen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Save log...</source>
        <translation>Protokoll speichern...</translation>
    </message>
    <message>
        <source>Save trace...</source>
        <translation>Mitschnitt speichern...</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Complete: %1 of %2 written</source>
        <translation>Fertig: %1 von %2 geschrieben</translation>
    </message>
    <message>
        <source>Error: see the log</source>
        <translation>Fehler: siehe Protokoll</translation>
    </message>
    <message>
        <source>Nothing was written: the history has findings, and &quot;Write anyway?&quot; was answered &quot;No&quot;.</source>
        <translation>Nichts wurde geschrieben: Die Historie hat Befunde, und „Trotzdem schreiben?“ wurde mit „Nein“ beantwortet.</translation>
    </message>
    <message>
        <source>Auto detecting...</source>
        <translation>Automatische Suche...</translation>
    </message>
    <message>
        <source>Save the ENET log</source>
        <translation>ENET-Protokoll speichern</translation>
    </message>
    <message>
        <source>Text (*.txt)</source>
        <translation>Textdatei (*.txt)</translation>
    </message>
    <message>
        <source>Save the trace of the last write</source>
        <translation>Mitschnitt des letzten Schreibvorgangs speichern</translation>
    </message>
    <message>
        <source>pcap trace for Wireshark (*.pcap)</source>
        <translation>pcap-Mitschnitt für Wireshark (*.pcap)</translation>
    </message>
</context>
<context>
    <name>TFEditor</name>
    <message>
        <source>Pick the date from a calendar</source>
        <translation>Datum im Kalender wählen</translation>
    </message>
    <message>
        <source>Service Entry Editor</source>
        <translation>Serviceeintrag bearbeiten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>General Information</source>
        <translation>Allgemeine Angaben</translation>
    </message>
    <message>
        <source>DATE</source>
        <translation>DATUM</translation>
    </message>
    <message>
        <source>KM Stand</source>
        <translation>km-Stand</translation>
    </message>
    <message>
        <source>Car milage in km</source>
        <translation>Kilometerstand in km</translation>
    </message>
    <message>
        <source>Workshop</source>
        <translation>Werkstatt</translation>
    </message>
    <message>
        <source>WORKSHOP ID</source>
        <translation>WERKSTATT-ID</translation>
    </message>
    <message>
        <source>Service Status</source>
        <translation>Servicestatus</translation>
    </message>
    <message>
        <source>STATUS</source>
        <translation>STATUS</translation>
    </message>
    <message>
        <source>Workshop type</source>
        <translation>Werkstatttyp</translation>
    </message>
    <message>
        <source>WORKSHOP TYPE</source>
        <translation>WERKSTATTTYP</translation>
    </message>
    <message>
        <source>Procedure Count</source>
        <translation>Anzahl Arbeiten</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Arbeit</translation>
    </message>
    <message>
        <source>Procedure TYPE</source>
        <translation>ARBEIT</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Procedure STATUS<byte value="xd"/>
</source>
        <translation>STATUS DER ARBEIT<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>ADD</source>
        <translation>HINZUFÜGEN</translation>
    </message>
    <message>
        <source>Procedure</source>
        <translation>Arbeit</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>The entry in the editor has changes that are not stored yet. Give them up and add a new entry?</source>
        <translation>Der Eintrag im Editor hat Änderungen, die noch nicht übernommen sind. Änderungen verwerfen und einen neuen Eintrag hinzufügen?</translation>
    </message>
    <message>
        <source>The entry in the editor has changes that are not stored yet. Give them up and edit the other entry?</source>
        <translation>Der Eintrag im Editor hat Änderungen, die noch nicht übernommen sind. Änderungen verwerfen und den anderen Eintrag bearbeiten?</translation>
    </message>
    <message>
        <source>The date %1 is outside the range of the date picker (%2 to %3)</source>
        <translation>Das Datum %1 liegt außerhalb des Bereichs der Datumsauswahl (%2 bis %3)</translation>
    </message>
    <message>
        <source>An entry holds at most 255 procedures: this one is full, so no procedure was added.</source>
        <translation>Ein Eintrag fasst höchstens 255 Arbeiten: Dieser ist voll, daher wurde keine Arbeit hinzugefügt.</translation>
    </message>
    <message>
        <source>The DATE %1 is not a date of the calendar. Please correct it.</source>
        <translation>Das DATUM %1 ist kein Kalenderdatum. Bitte korrigieren.</translation>
    </message>
    <message>
        <source>The workshop ID cannot hold the character %1.</source>
        <translation>Die Werkstatt-ID kann das Zeichen %1 nicht aufnehmen.</translation>
    </message>
    <message>
        <source>INVALID DATA<byte value="xd"/>
Please check input parameters:<byte value="xd"/>
&gt; KM Stand<byte value="xd"/>
&gt; WorkshopID<byte value="xd"/>
&gt; Procedures done</source>
        <translation>UNGÜLTIGE DATEN<byte value="xd"/>
Bitte Eingaben prüfen:<byte value="xd"/>
&gt; km-Stand<byte value="xd"/>
&gt; Werkstatt-ID<byte value="xd"/>
&gt; Durchgeführte Arbeiten</translation>
    </message>
</context>
<context>
    <name>TFInfo</name>
    <message>
        <source> [i]  Info/About</source>
        <translation> [i]  Info/Über</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>HILFE</translation>
    </message>
    <message>
        <source>The user guide is not in the folder Tarvelo was started from: %1 does not exist.</source>
        <translation>Die Bedienungsanleitung liegt nicht im Ordner, aus dem Tarvelo gestartet wurde: %1 gibt es nicht.</translation>
    </message>
    <message>
        <source>No program for PDF files was found, so the user guide could not be opened. You can open it by hand: %1</source>
        <translation>Es wurde kein Programm für PDF-Dateien gefunden, daher konnte die Bedienungsanleitung nicht geöffnet werden. Sie können sie selbst öffnen: %1</translation>
    </message>
    <message>
        <source>No web browser was found, so the project&apos;s page could not be opened. Its address is %1</source>
        <translation>Es wurde kein Webbrowser gefunden, daher konnte die Seite des Projekts nicht geöffnet werden. Ihre Adresse ist %1</translation>
    </message>
</context>
<context>
    <name>TFMain</name>
    <message>
        <source>A write to the car is running. Stop it and quit?</source>
        <translation>Ein Schreibvorgang ins Auto läuft. Abbrechen und beenden?</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Read from car</source>
        <translation>Aus Auto lesen</translation>
    </message>
    <message>
        <source>Write to car</source>
        <translation>In Auto schreiben</translation>
    </message>
    <message>
        <source>Info / Help</source>
        <translation>Info / Hilfe</translation>
    </message>
    <message>
        <source>BMW SERVICE HISTORY FILES (*.kelta *.bin)</source>
        <translation>BMW-SERVICEHISTORIE-DATEIEN (*.kelta *.bin)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>CSV for spreadsheets (*.csv)</source>
        <translation>CSV für Tabellenkalkulationen (*.csv)</translation>
    </message>
    <message>
        <source>JSON (*.json)</source>
        <translation>JSON-Datei (*.json)</translation>
    </message>
    <message>
        <source>PDF service book (*.pdf)</source>
        <translation>Serviceheft als PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Status: </source>
        <translation>Status: </translation>
    </message>
    <message>
        <source>Hello world</source>
        <translation>Hallo Welt</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>File not opened</source>
        <translation>Datei nicht geöffnet</translation>
    </message>
    <message>
        <source>Verifying file: </source>
        <translation>Datei wird geprüft: </translation>
    </message>
    <message>
        <source>Invalid data: </source>
        <translation>Ungültige Daten: </translation>
    </message>
    <message>
        <source>File: </source>
        <translation>Datei: </translation>
    </message>
    <message>
        <source>Nothing to save: the list has no entries</source>
        <translation>Nichts zu speichern: Die Liste hat keine Einträge</translation>
    </message>
    <message>
        <source>Save BMW Service History File</source>
        <translation>BMW-Servicehistorie speichern</translation>
    </message>
    <message>
        <source>File not saved: the service book was cancelled</source>
        <translation>Datei nicht gespeichert: Das Serviceheft wurde abgebrochen</translation>
    </message>
    <message>
        <source>File saved: </source>
        <translation>Datei gespeichert: </translation>
    </message>
    <message>
        <source>Writing the service book...</source>
        <translation>Serviceheft wird geschrieben...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Service book</source>
        <translation>Serviceheft</translation>
    </message>
    <message>
        <source>Reading the service history back from a car is not supported</source>
        <translation>Das Lesen der Servicehistorie aus dem Auto wird nicht unterstützt</translation>
    </message>
    <message>
        <source>; and %1 more: tarvelo-cli import lists them all</source>
        <translation>; und %1 weitere: tarvelo-cli import nennt sie alle</translation>
    </message>
    <message>
        <source>CSV for spreadsheets, separated by commas (*.csv)</source>
        <translation>CSV für Tabellenkalkulationen, durch Kommas getrennt (*.csv)</translation>
    </message>
    <message>
        <source>CSV for spreadsheets, separated by semicolons (*.csv)</source>
        <translation>CSV für Tabellenkalkulationen, durch Semikolons getrennt (*.csv)</translation>
    </message>
</context>
<context>
    <name>TextEncoding</name>
    <message>
        <source>read as UTF-16 LE (&quot;Unicode text&quot;), as its byte order mark says</source>
        <translation>als UTF-16 LE („Unicode-Text“) gelesen, wie ihre Byte-Order-Mark sagt</translation>
    </message>
    <message>
        <source>read as UTF-16 BE, as its byte order mark says</source>
        <translation>als UTF-16 BE gelesen, wie ihre Byte-Order-Mark sagt</translation>
    </message>
    <message>
        <source>read as %1, as the file is not UTF-8</source>
        <translation>als %1 gelesen, da die Datei kein UTF-8 ist</translation>
    </message>
</context>
<context>
    <name>TextParsing</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine gültige ganze Zahl</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid date</source>
        <translation>„%1“ ist kein gültiges Datum</translation>
    </message>
</context>
<context>
    <name>UdpPort</name>
    <message>
        <source>Cannot open the UDP port. %1</source>
        <translation>Der UDP-Port kann nicht geöffnet werden. %1</translation>
    </message>
    <message>
        <source>Cannot send to %1. The UDP port is closed</source>
        <translation>Senden an %1 nicht möglich. Der UDP-Port ist geschlossen</translation>
    </message>
    <message>
        <source>Cannot send to %1. Not an IPv4 address</source>
        <translation>Senden an %1 nicht möglich. Keine IPv4-Adresse</translation>
    </message>
    <message>
        <source>Cannot send to %1. %2</source>
        <translation>Senden an %1 nicht möglich. %2</translation>
    </message>
</context>
</TS>
