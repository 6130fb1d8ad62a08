#include "help_texts.h"

#include <array>
#include <string_view>

namespace morvane::cli {

namespace {

constexpr std::string_view kGeneral =
    "usage: morvane-cli design [--topology mfb|pfb|svf3|svf4|fliege|lc|diplexer|1..7]\n"
    "                          [--type lowpass|highpass|bandpass|bandstop|allpass|elliptic]\n"
    "                          [--series-r E6|E12|E24|E48|E96] [--series-c E6|E12|E24|E48|E96]\n"
    "                          [--no-equal-capacitors] [--no-offset-compensation]\n"
    "                          [--manual-capacitance] [--round-resistors]\n"
    "                          [--order 2..10] [--chebyshev]\n"
    "                          [--diplexer-order 3|5|7|9] [--diplexer-chebyshev]\n"
    "                          [NAME=TEXT ...] [--json]\n"
    "  NAME is one of fg, f, Q, D, Vu, Zin, R3, C1, fnfp, RL, ripple (or Welligkeit); each\n"
    "  TEXT is read as if typed into that entry field (for example fg=2k Q=1,5 Zin=4.7k).\n"
    "       morvane-cli curve gain|phase|delay|step|pulse --from X --to Y [--log]\n"
    "                         [the design options and NAME=TEXT entries above]\n"
    "  prints CSV (\"x,y\") of the samples a graph window draws for that axis range.\n"
    "       morvane-cli save-design FILE [design options and entries]\n"
    "       morvane-cli export-circuit FILE [design options and entries]   (--topology lc)\n"
    "       morvane-cli order --f1 TEXT --d1 TEXT --f2 TEXT --d2 TEXT [--chebyshev] [--json]\n"
    "       morvane-cli spice FILE|- [design options and entries] [--from X] [--to Y]\n"
    "                         [--points N] [--opamp NAME|FILE [--opamp-include FILE]]\n"
    "       morvane-cli plot gain|phase|delay|step|pulse --out FILE.png|FILE.svg|FILE.csv\n"
    "                        [--width W] [--height H] [design options and entries]\n"
    "  draws the graph a freshly opened graph window shows, without a window.\n"
    "  Every design command also takes --design FILE, opened first as the window opens one.\n"
    "       morvane-cli cascade [--approximation NAME] [--type TYPE]\n"
    "                           [--order N | --scheme F1,D1,F2,D2] [--topology NAME] [...]\n"
    "                           [NAME=TEXT ...] [--json] [--netlist FILE|-] [--curve ...]\n"
    "  a whole filter of order 1..20 as a cascade of sections, each with its circuit;\n"
    "  it takes none of the design options.\n"
    "       morvane-cli tolerance [design options and entries | --cascade [cascade options]]\n"
    "                             [--runs N] [--r-tol P] [--c-tol P] [--l-tol P] [--mask ...]\n"
    "  Monte Carlo, sensitivities, worst case and yield of the parts' tolerances.\n"
    "       morvane-cli opamps [--file FILE] [--json]   the op-amp models\n"
    "       morvane-cli noise [design options and entries | --cascade [cascade options]]\n"
    "                         --from F --to F [--points N] [--temperature C] [--json]\n"
    "  the noise at the output: density, RMS, each part's, op amp's and section's share.\n"
    "       morvane-cli network FILE --from F --to F [--points N] [--log] [--ideal]\n"
    "  the gain of a circuit file's ladder (export-circuit, morvane-seriesparallel).\n"
    "       morvane-cli eseries VALUE [--series E3|E6|E12|E24|E48|E96|E192] [--combine]\n"
    "                           [--ratio R] [--json]\n"
    "  standard values around VALUE, two-part combinations, a pair for a ratio.\n"
    "       morvane-cli help COMMAND   (or COMMAND --help)   the options of one command\n"
    "       morvane-cli --version\n";

// The options every command but `order` shares, as the main window's controls set them.
constexpr std::string_view kDesignOptions =
    "Design options, applied as the main window would, in this order:\n"
    "  --design FILE             open this design file first, as \"Load INI file\" does; a\n"
    "                            missing file fails, a value in it that cannot be read is\n"
    "                            named on stderr with the value used instead\n"
    "  --topology NAME           the page: mfb, pfb, svf3, svf4, fliege, lc, diplexer, or 1..7\n"
    "  --type NAME               lowpass, highpass, bandpass, bandstop, allpass, elliptic\n"
    "  --series-r E6..E96        standard series of the resistors (E6, E12, E24, E48, E96)\n"
    "  --series-c E6..E96        standard series of the capacitors\n"
    "  --no-equal-capacitors     clear \"Try Equal Capacitors\" (MFB and PFB pages)\n"
    "  --no-offset-compensation  clear \"Offset Compensation with R3 and R4\" (PFB page)\n"
    "  --manual-capacitance      clear \"Calculate Capacitances Automatically\" (SVF, Fliege)\n"
    "  --round-resistors         Options > Round Resistors: every resistor of an active stage\n"
    "                            rounded to the nearest value of the resistor series; design\n"
    "                            then states the stage's f0, Q, gain (fz) as built beside the\n"
    "                            designed ones (--json: asBuilt)\n"
    "  --best-values             after the entries, the value search's best set for an active\n"
    "                            stage: capacitors of the series within a decade around the\n"
    "                            design's (Zin, or C1 where it is entered, moves to the level\n"
    "                            that gives them), each resistor rounded down or up, whichever\n"
    "                            comes closest to f0, Q, gain and fz; stated as for\n"
    "                            --round-resistors\n"
    "  --order N                 order of the LC ladder, 2..10\n"
    "  --chebyshev               Chebyshev LC ladder (else Butterworth)\n"
    "  --diplexer-order N        order of the LC diplexer: 3, 5, 7 or 9\n"
    "  --diplexer-chebyshev      Chebyshev LC diplexer (else Butterworth)\n"
    "  --opamp NAME|FILE         the op amp the active stage is built with: a part that\n"
    "                            `morvane-cli opamps` lists (any letter case) or an op-amp\n"
    "                            file (its first part). design then states f0, Q, gain (fz)\n"
    "                            and the peaking with it against ideal op amps, and the\n"
    "                            largest undistorted output and headroom (--json:\n"
    "                            realAmplifier, largeSignal, headroom); curve gives the\n"
    "                            response with it; spice\n"
    "                            writes the part's model as a subcircuit and calls it;\n"
    "                            noise takes its noise. With --opamp-include FILE, NAME is\n"
    "                            instead the user's own subcircuit (pins in+ in- out) that\n"
    "                            spice calls from FILE; spice also calls a NAME it does not\n"
    "                            know as such a subcircuit\n"
    "  --predistort              with --opamp: design an MFB or PFB lowpass, highpass or\n"
    "                            bandpass stage so that with that op amp it has the f0 and\n"
    "                            Q asked for (within 0.5 %), where its gain-bandwidth allows;\n"
    "                            design says what it did or why it could not\n"
    "Entries, typed into their fields in the order given:\n"
    "  NAME=TEXT                 NAME is one of fg, f, Q, D, Vu, Zin, R3, C1, fnfp, RL,\n"
    "                            ripple (or Welligkeit, the same entry); TEXT is read as the\n"
    "                            field reads it, with prefix\n"
    "                            letters and either decimal separator (fg=2k Zin=4.7k Q=1,5).\n"
    "                            An unreadable TEXT stores the field's lower limit, an\n"
    "                            out-of-range value the nearest limit; stderr says so.\n"
    "                            A TEXT read only in part is used as read, and stderr says\n"
    "                            what was read and what ignored (fg=4k7: read as 4000).\n"
    "The start is the program's initial state: MFB, lowpass, E48 resistors, E6 capacitors,\n"
    "every check box set.\n";

constexpr std::string_view kDesign =
    "usage: morvane-cli design [design options] [NAME=TEXT ...] [--json]\n"
    "Prints the components of the page with standard values, the figures that characterise\n"
    "the circuit and the readout at the frequency f.\n"
    "  --json                    one JSON object instead: topology, type, state (every\n"
    "                            numeric design value), fields (the text of every entry and\n"
    "                            result field of the main window), grids, beeps, messages\n";

constexpr std::string_view kCurve =
    "usage: morvane-cli curve gain|phase|delay|step|pulse --from X --to Y [--log]\n"
    "                         [design options] [NAME=TEXT ...]\n"
    "Prints CSV (a line \"x,y\", then one line a sample with 17 significant digits): the\n"
    "samples a graph window draws for that axis range.\n"
    "  gain, phase, delay        over frequency: 255 samples from X to Y (Hz)\n"
    "  step, pulse               over time: 251 samples from 0 to Y (s); --from is optional\n"
    "  --from X, --to Y          the axis range; Y must be greater than X, neither beyond\n"
    "                            +-1e300\n"
    "  --log                     logarithmic frequency axis (X above 0)\n";

constexpr std::string_view kSaveDesign =
    "usage: morvane-cli save-design FILE [design options] [NAME=TEXT ...]\n"
    "Writes the design file as closing the main window does.\n";

constexpr std::string_view kExportCircuit =
    "usage: morvane-cli export-circuit FILE --topology lc [design options] [NAME=TEXT ...]\n"
    "Writes the LC ladder's circuit file for the series/parallel companion program.\n";

constexpr std::string_view kOrder =
    "usage: morvane-cli order [--f1 TEXT] [--d1 TEXT] [--f2 TEXT] [--d2 TEXT] [--chebyshev]\n"
    "                         [--json]\n"
    "Prints the least order of a Butterworth (or Chebyshev) lowpass for a tolerance scheme:\n"
    "attenuation d1 (dB) allowed at the frequency f1, d2 (dB) required at f2. All four TEXTs\n"
    "are read as the filter order window reads its fields (a value not given keeps the\n"
    "window's initial one), then checked: a text that does not read whole, f1 or d1 not above\n"
    "0, f2 not above f1 or d2 not above d1 is refused (exit code 2).\n"
    "  --chebyshev               Chebyshev instead of Butterworth\n"
    "  --json                    one JSON object: N, nr, NAusgabe, nrAusgabe\n";

constexpr std::string_view kSpice =
    "usage: morvane-cli spice FILE|- [design options] [NAME=TEXT ...] [--from X] [--to Y]\n"
    "                         [--points N] [--opamp NAME|FILE [--opamp-include FILE]]\n"
    "Writes a SPICE netlist of the designed circuit with an AC sweep, to FILE or, for -, to\n"
    "stdout.\n"
    "  --from X, --to Y          the sweep in Hz (default fg/100 to 100*fg)\n"
    "  --points N                points per decade, 1..100000 (default 50)\n"
    "  --opamp NAME|FILE         a part of the op-amp table or an op-amp file: its model is\n"
    "                            written into the netlist as a subcircuit (gain, poles,\n"
    "                            output resistance, input capacitance, noise sources) and\n"
    "                            called for every op amp; any other NAME: call this\n"
    "                            subcircuit (pins in+ in- out) instead of an ideal amplifier\n"
    "  --opamp-include FILE      .include this file, which holds the subcircuit NAME\n"
    "                            (NAME and FILE without control characters or quotes)\n";

constexpr std::string_view kPlot =
    "usage: morvane-cli plot gain|phase|delay|step|pulse --out FILE [--width W] [--height H]\n"
    "                        [design options] [NAME=TEXT ...]\n"
    "Draws the graph that a graph window shows when it is opened on the design, with the\n"
    "same axes, without a window.\n"
    "  gain, phase, delay        over frequency; step, pulse over time\n"
    "  --out FILE                FILE.png (bitmap), FILE.svg (vector, text as text) or\n"
    "                            FILE.csv (the samples: a header \"x,y\" with units, then\n"
    "                            one line a sample)\n"
    "  --width W, --height H     size of the picture in pixels, 1..10000 (default: the\n"
    "                            size of a freshly opened graph window's picture)\n";

constexpr std::string_view kCascade =
    "usage: morvane-cli cascade [--approximation butterworth|chebyshev|bessel|linkwitz-riley|\n"
    "                                            inverse-chebyshev|elliptic]\n"
    "           [--type lowpass|highpass|bandpass|bandstop] [--order N | --scheme F1,D1,F2,D2]\n"
    "           [--topology mfb|pfb|svf3|svf4|fliege] [--gain-split first|last|equal]\n"
    "           [--series-r E6..E96] [--series-c E6..E96] [--round-resistors | --best-values]\n"
    "           [--section-order 2,1,3]\n"
    "           [fg=TEXT] [fm=TEXT] [B=TEXT] [ripple=TEXT] [stopband=TEXT] [gain=TEXT]\n"
    "           [Zin=TEXT] [fs=TEXT] [--json] [--netlist FILE|-] [--opamp NAME|FILE\n"
    "           [--opamp-include FILE]] [--curve gain|phase|delay|step --from F --to F\n"
    "           [--points N] [--log]] [--design FILE] [--save FILE]\n"
    "Designs a whole active filter as a cascade of first- and second-order sections (lowest Q\n"
    "first), each built as a circuit with standard values, and prints the filter, its figures\n"
    "and every section with its parts.\n"
    "  --approximation NAME      default butterworth\n"
    "  --type NAME               default lowpass\n"
    "  --order N                 order of the lowpass prototype, 1..20 (default 4; a band\n"
    "                            filter has twice as many poles); linkwitz-riley: even only\n"
    "  --scheme F1,D1,F2,D2      instead of --order: the least order with at most D1 dB\n"
    "                            attenuation up to F1 (Hz) and at least D2 dB from F2 on; the\n"
    "                            corner follows (lowpass F1 < F2, highpass F1 > F2). D1 is the\n"
    "                            ripple of chebyshev and elliptic, D2 the stop-band attenuation\n"
    "                            of inverse-chebyshev and elliptic. With decimal commas, put\n"
    "                            semicolons between the values: \"20k;0,1;24k;80\"\n"
    "  --topology NAME           the circuit of every section (default: each section's own,\n"
    "                            Sallen-Key (pfb) for lowpass, highpass and first-order\n"
    "                            sections, mfb for bandpass, svf4 for notches)\n"
    "  --gain-split NAME         which section takes the gain: first (default), last, equal\n"
    "  --series-r, --series-c    standard series of resistors (default E48) and capacitors\n"
    "                            (default E6): E6, E12, E24, E48, E96\n"
    "  --round-resistors         every resistor rounded to the nearest value of its series, as\n"
    "                            built; each section then states its figures as built and\n"
    "                            their error in percent (JSON: asBuilt with f0, q, gain, fz,\n"
    "                            f0Error, qError, gainError, fzError)\n"
    "  --best-values             each resistor rounded down or up, whichever way brings the\n"
    "                            section's f0, Q, gain and (weighted tenfold) fz closest to\n"
    "                            the design; states the figures as built as above\n"
    "  --section-order LIST      the sections in this order, each numbered by its place in\n"
    "                            the lowest-Q-first order, e.g. 2,1,3\n"
    "Entries (TEXT read as the entry fields read it: prefix letters, either decimal separator):\n"
    "  fg=TEXT                   lowpass, highpass: the -3 dB frequency (linkwitz-riley\n"
    "                            -6 dB), default 1k\n"
    "  fm=TEXT, B=TEXT           bandpass, bandstop: centre and bandwidth, default 1k and 100\n"
    "  ripple=TEXT               chebyshev, elliptic: pass-band ripple in dB, 0.01..3, default 1\n"
    "  stopband=TEXT             inverse-chebyshev, elliptic: stop-band attenuation in dB,\n"
    "                            10..120, default 60\n"
    "  gain=TEXT                 total pass-band gain (V/V), default 1\n"
    "  Zin=TEXT                  impedance level in ohms, default 10k\n"
    "  fs=TEXT                   where to state the stop-band attenuation (default: F2 of\n"
    "                            --scheme, else not stated)\n"
    "Output (one of them on stdout; the table by default):\n"
    "  --json                    one JSON object: approximation, type, order, prototypeOrder,\n"
    "                            fg (fm and B), gain (negative when inverting), inverting,\n"
    "                            poles, zeros ([re, im] in rad/s), figures, sections, warnings;\n"
    "                            null for a figure that is not defined\n"
    "  --netlist FILE|-          write the SPICE netlist of the whole cascade to FILE (the\n"
    "                            table or JSON still goes to stdout) or, for -, to stdout\n"
    "  --opamp NAME|FILE         a part of the op-amp table (or an op-amp file): each section\n"
    "                            states f0, Q, gain and peaking with it (JSON: realAmplifier),\n"
    "                            the filter its largest undistorted output and each section\n"
    "                            its headroom (JSON: largeSignal, headroom; a warning for a\n"
    "                            section that clips before the output),\n"
    "                            --curve gives the cascade's response with it, --netlist\n"
    "                            carries its model as a subcircuit. Any other NAME, with\n"
    "                            --netlist only: call this subcircuit (pins in+ in- out)\n"
    "  --opamp-include FILE      with --netlist: .include this file, which holds NAME\n"
    "  --predistort              with --opamp (a table part): design each MFB and Sallen-Key\n"
    "                            section so that with that op amp it has its f0 and Q (within\n"
    "                            0.5 %); a warning names each section where it cannot\n"
    "  --curve KIND              CSV \"x,y\": gain (dB, the gain included), phase (degrees,\n"
    "                            unwrapped, the inversion included), delay (s) over frequency\n"
    "                            (Hz), or step (V for a 1 V step) over time (s)\n"
    "  --from F, --to F          the range (step: --from defaults to 0)\n"
    "  --points N                samples, 2..100000 (default 1000), evenly spaced\n"
    "  --log                     spaced in equal ratios instead (--from above 0)\n"
    "Files:\n"
    "  --design FILE             start from the cascade saved in FILE (its [Cascade] section),\n"
    "                            wherever the option stands; the other options change it\n"
    "  --save FILE               save the cascade's entries into FILE's [Cascade] section,\n"
    "                            every number at full precision; the file's other sections\n"
    "                            stay as they are\n";

struct CommandHelp {
  std::string_view command;
  std::string_view text;
  bool designOptions;
};

constexpr std::string_view kTolerance =
    "usage: morvane-cli tolerance [design options and entries | --cascade [cascade options\n"
    "                             and entries]] [--runs N] [--r-tol P] [--c-tol P] [--l-tol P]\n"
    "                             [--distribution uniform|gauss] [--seed S]\n"
    "                             [--mask F1,D1,F2,D2] [--worst-case] [--from F] [--to F]\n"
    "                             [--points N] [--json]\n"
    "Draws every part within its tolerance, N times (default 1000), and computes each run's\n"
    "circuit from the drawn values: the statistics of f0, Q, gain, fz and the notch depth (mean,\n"
    "standard deviation, min, max, 5 and 95 %), the band of the whole gain, the relative\n"
    "sensitivities of f0, Q and gain to every part, and the parts that matter most. Without\n"
    "--cascade it analyses the circuit of the page the design options and entries give: an\n"
    "active stage, or the LC ladder from RG to RL as one section (parts named as in its\n"
    "netlist; RG and RL take the resistors' tolerance; pass-band gain RL / (RG + RL)), or the\n"
    "LC diplexer at its lowpass and then its highpass output, each run one whole diplexer for\n"
    "both (--json: an object each, under \"lowpass\" and \"highpass\"; --mask is the lowpass\n"
    "output's, mirrored about fg for the highpass output: F -> fg^2 / F). Both outputs share\n"
    "the diplexer's poles, and so its f0 and Q; a Butterworth diplexer has each pole twice,\n"
    "which tolerances split: its f0, Q and sensitivities spread far more than its response,\n"
    "which the band and the yield show. With --cascade it analyses the whole filter the\n"
    "cascade options give, section by section (parts named R1_2: R1 of section 2).\n"
    "  --runs N                  2..1000000 runs (default 1000)\n"
    "  --r-tol P, --c-tol P, --l-tol P   tolerances in percent of resistors (default 1),\n"
    "                            capacitors (default 5) and inductors (default 5)\n"
    "  --distribution NAME       uniform (default) or gauss (the tolerance at 3 sigma; a part\n"
    "                            beyond it is drawn again)\n"
    "  --seed S                  the same seed gives the same runs (default 1)\n"
    "  --mask F1,D1,F2,D2        the yield: the share of runs with at most D1 dB from the\n"
    "                            nominal pass-band gain up to F1 and at least D2 dB down from\n"
    "                            F2 on (lowpass; highpass mirrored; band filters symmetric\n"
    "                            about the centre)\n"
    "  --worst-case              the least and largest f0, Q and gain of each section: every\n"
    "                            corner of the tolerance box up to 12 parts, else each part at\n"
    "                            the end its sensitivity points to\n"
    "  --from F, --to F, --points N   the band's frequencies (default corner / 100 to\n"
    "                            corner * 100, 200 points)\n"
    "  --json                    one object: runs, seed, statistics (a cascade's under\n"
    "                            sections), sensitivities (part: f0, q, gain), worstCase,\n"
    "                            yield, importance ([part, share]) and band ([f, min dB, p5 dB,\n"
    "                            nominal dB, p95 dB, max dB])\n";

constexpr std::string_view kOpAmps =
    "usage: morvane-cli opamps [--file FILE] [--json]\n"
    "Lists the op-amp models: typical datasheet values of widely used parts, and ideal\n"
    "(infinite gain and bandwidth, noiseless: the noise of the resistors alone).\n"
    "  --file FILE   a user file that adds parts or changes built-in ones; one section a part:\n"
    "                  [NAME]\n"
    "                  a0 = 200k      DC gain, V/V\n"
    "                  gbw = 4M       gain-bandwidth product, Hz\n"
    "                  secondPole = 30M   optional, Hz (none: no second pole)\n"
    "                  rout = 75      open-loop output resistance, ohms\n"
    "                  cin = 3p       input capacitance, F\n"
    "                  slewRate = 10M V/s (10M is 10 V/us)\n"
    "                  swing = 13     peak output swing, V\n"
    "                  en = 12n       input voltage noise density, V/sqrt(Hz)\n"
    "                  enCorner = 100 its 1/f corner, Hz (0: none)\n"
    "                  in = 0.5p      input current noise density, A/sqrt(Hz)\n"
    "                  inCorner = 200 its 1/f corner, Hz (0: none)\n"
    "                a new part needs every key but secondPole; a built-in part's section\n"
    "                changes only the keys it gives; # or ; starts a comment line; names and\n"
    "                keys in any letter case; values with prefix letters as in entry fields.\n"
    "                A fault is named with its line and exits with status 1.\n"
    "  --json        a list of objects: name, a0 (V/V), gbw (Hz), secondPole (Hz), rout (ohms),\n"
    "                cin (F), slewRate (V/s), swing (V), en (V/sqrt(Hz)), enCorner (Hz),\n"
    "                in (A/sqrt(Hz)), inCorner (Hz); infinite values (those of ideal) and a\n"
    "                missing second pole are null\n";

constexpr std::string_view kNoise =
    "usage: morvane-cli noise [design options and entries | --cascade [cascade options and\n"
    "                         entries]] --from F --to F [--points N] [--temperature C] [--json]\n"
    "The noise at the output of the page's active stage (or the LC ladder from RG to RL), or\n"
    "with --cascade of the whole filter the cascade options give: every resistor's thermal\n"
    "noise (4kTR) and every op amp's input voltage and current noise (with their 1/f\n"
    "corners), from the op amp --opamp names (default ideal: the resistors alone).\n"
    "  --from F, --to F          the range in Hz (0 < F1 < F2)\n"
    "  --points N                points in equal ratios, both ends included, 2..100000\n"
    "                            (default 400)\n"
    "  --temperature C           of the resistors, in degrees Celsius (default 25)\n"
    "  --json                    one object: opAmp, temperature, from, to, rms (V over the\n"
    "                            range), density ([f in Hz, V/sqrt(Hz) at the output]),\n"
    "                            inputReferred (the same divided by the gain; left out where\n"
    "                            the gain is 240 dB below its largest), contributions ([part\n"
    "                            or op amp, RMS in V], largest first; an op amp's voltage and\n"
    "                            current noise together) and, with --cascade, sections\n"
    "Without --json: the RMS, the contributions and their share, then \"f,density\" lines.\n";

constexpr std::string_view kNetwork =
    "usage: morvane-cli network FILE --from F --to F [--points N] [--log] [--ideal]\n"
    "The gain V(out)/V(source) of the ladder in a circuit file (as export-circuit writes it\n"
    "and morvane-seriesparallel saves it) for a 1 V source behind RG and the load RL, every\n"
    "element with its parasitics (a capacitor is Lx, Rx and Cx in series, an inductor Lx in\n"
    "series with Rx, with Cx across both). RG = RL gives -6.02 dB in the pass band.\n"
    "  --from F, --to F          the range in Hz (0 < F1 < F2)\n"
    "  --points N                points, both ends included, 2..100000 (default 201)\n"
    "  --log                     in equal ratios (default: in equal steps)\n"
    "  --ideal                   the ladder without its parasitics\n"
    "Prints \"f,dB\" and then one \"f,dB\" line a point, in the C locale with 12 significant\n"
    "digits (a vanishing gain reads -400). Exit 1 for a file that cannot be read or holds\n"
    "no circuit (the message names the key), 2 for bad use.\n";
constexpr std::string_view kESeries =
    "usage: morvane-cli eseries VALUE [--series E3|E6|E12|E24|E48|E96|E192] [--combine]\n"
    "                           [--ratio R] [--json]\n"
    "The standard values (IEC 60063) around VALUE: the series value at or below it, the one at\n"
    "or above it, and the nearer of the two by ratio, with its error in percent, (chosen -\n"
    "VALUE) / VALUE * 100. VALUE is read as an entry field reads it (4k7, 4.7 k, 10n, 2R2),\n"
    "in any unit, 1f to 1T; a value that is no number, 0 or less, or outside that range is\n"
    "refused (exit code 2).\n"
    "  --series NAME             the series, E3 to E192 (default E24)\n"
    "  --combine                 also the best two parts of the series in series (a + b) and\n"
    "                            in parallel (a || b) for VALUE, each part at most three\n"
    "                            decades from it\n"
    "  --ratio R                 also the pair a, b of the series whose ratio a / b comes\n"
    "                            nearest to R (1u to 1M), b within the decade around VALUE:\n"
    "                            for a non-inverting gain G = 1 + a / b give R = G - 1; for a\n"
    "                            divider (a on top, b below) Vout / Vin = b / (a + b), so give\n"
    "                            R = Vin / Vout - 1\n"
    "  --json                    one JSON object: value, eSeries, below, above, nearest,\n"
    "                            nearestErrorPercent; with --combine series and parallel, with\n"
    "                            --ratio pair, each [a, b, value (or a / b), errorPercent]\n";

constexpr std::array kCommands{
    CommandHelp{"design", kDesign, true},
    CommandHelp{"curve", kCurve, true},
    CommandHelp{"save-design", kSaveDesign, true},
    CommandHelp{"export-circuit", kExportCircuit, true},
    CommandHelp{"order", kOrder, false},
    CommandHelp{"spice", kSpice, true},
    CommandHelp{"plot", kPlot, true},
    CommandHelp{"cascade", kCascade, false},
    CommandHelp{"tolerance", kTolerance, true},
    CommandHelp{"opamps", kOpAmps, false},
    CommandHelp{"noise", kNoise, true},
    CommandHelp{"network", kNetwork, false},
    CommandHelp{"eseries", kESeries, false},
};

}  // namespace

std::string GeneralUsage() {
  return std::string(kGeneral);
}

std::optional<std::string> CommandUsage(std::string_view command) {
  for (const CommandHelp& help : kCommands) {
    if (help.command != command) continue;
    std::string text(help.text);
    if (help.designOptions) text.append("\n").append(kDesignOptions);
    return text;
  }
  return std::nullopt;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

}  // namespace morvane::cli
