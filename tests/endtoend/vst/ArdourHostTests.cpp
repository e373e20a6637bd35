// Drives the built plug-in through Ardour 7, headless: the VST scanner, then Lua sessions on
// the Dummy backend. Every run gets a fresh HOME and a plug-in folder holding only our library.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace fs = std::filesystem;

namespace
{
    const char* const scanner = "/usr/lib/ardour7/ardour-vst-scanner";
    const char* const luaSession = "/usr/bin/ardour7-lua";

    struct CommandRun
    {
        int status;
        std::string output;
    };

    CommandRun runCommand (const std::string& command)
    {
        CommandRun run { -1, {} };
        FILE* pipe = popen ((command + " 2>&1").c_str(), "r");

        if (pipe == nullptr)
            return run;

        char buffer[4096];
        size_t got;

        while ((got = fread (buffer, 1, sizeof (buffer), pipe)) > 0)
            run.output.append (buffer, got);

        run.status = pclose (pipe);
        return run;
    }

    std::string readFile (const fs::path& path)
    {
        std::ifstream in (path, std::ios::binary);
        return std::string (std::istreambuf_iterator<char> (in), {});
    }

    void writeFile (const fs::path& path, const std::string& text)
    {
        fs::create_directories (path.parent_path());
        std::ofstream (path, std::ios::binary) << text;
    }

    /** The values a script prints as "RESULT <key> <value>" lines. */
    std::string resultOf (const std::string& output, const std::string& key)
    {
        std::istringstream lines (output);
        std::string line;
        const auto prefix = "RESULT " + key + " ";

        while (std::getline (lines, line))
            if (line.rfind (prefix, 0) == 0)
                return line.substr (prefix.size());

        return {};
    }

    struct Wav
    {
        double sampleRate = 0;
        std::vector<float> firstChannel;
    };

    /** Reads the first channel of a PCM (16, 24 or 32 bit) or 32-bit float WAV file. */
    Wav readWav (const fs::path& path)
    {
        const auto bytes = readFile (path);
        Wav wav;
        int channels = 0, bits = 0, format = 0;

        const auto u32 = [&] (size_t at) { uint32_t v; std::memcpy (&v, bytes.data() + at, 4); return v; };
        const auto u16 = [&] (size_t at) { uint16_t v; std::memcpy (&v, bytes.data() + at, 2); return v; };

        for (size_t at = 12; at + 8 <= bytes.size();)
        {
            const auto id = bytes.substr (at, 4);
            const auto size = (size_t) u32 (at + 4);
            const auto body = at + 8;

            if (id == "fmt ")
            {
                format = u16 (body);
                channels = u16 (body + 2);
                wav.sampleRate = u32 (body + 4);
                bits = u16 (body + 14);

                if (format == 0xFFFE)
                    format = u16 (body + 24);
            }
            else if (id == "data" && channels > 0)
            {
                const auto frameBytes = (size_t) (channels * bits / 8);

                for (size_t frame = body; frame + frameBytes <= std::min (bytes.size(), body + size); frame += frameBytes)
                {
                    const auto* p = reinterpret_cast<const unsigned char*> (bytes.data() + frame);

                    if (format == 3 && bits == 32)
                    {
                        float v;
                        std::memcpy (&v, p, 4);
                        wav.firstChannel.push_back (v);
                    }
                    else
                    {
                        int32_t v = 0;
                        for (int b = 0; b < bits / 8; ++b)
                            v |= (int32_t) p[b] << (8 * b + 32 - bits);
                        wav.firstChannel.push_back ((float) v / 2147483648.0f);
                    }
                }
            }

            at = body + size + (size & 1);
        }

        return wav;
    }

    std::vector<size_t> peaksAbove (const std::vector<float>& samples, float threshold, size_t gap)
    {
        std::vector<size_t> peaks;

        for (size_t i = 0; i < samples.size(); ++i)
        {
            if (std::abs (samples[i]) < threshold)
                continue;

            size_t best = i;

            for (size_t j = i; j < std::min (samples.size(), i + gap); ++j)
                if (std::abs (samples[j]) > std::abs (samples[best]))
                    best = j;

            peaks.push_back (best);
            i += gap;
        }

        return peaks;
    }

    /** Samples from the first peak (the dry impulse) to the next (its first echo); -1 with no echo. */
    double firstEchoDelay (const std::vector<float>& samples)
    {
        const auto peaks = peaksAbove (samples, 0.1f, 200);
        return peaks.size() < 2 ? -1.0 : (double) (peaks[1] - peaks[0]);
    }

    /** The largest difference between two renders, sample by sample; infinite when their lengths differ. */
    float largestDifference (const std::vector<float>& a, const std::vector<float>& b)
    {
        if (a.size() != b.size())
            return std::numeric_limits<float>::infinity();

        float largest = 0.0f;

        for (size_t i = 0; i < a.size(); ++i)
            largest = std::max (largest, std::abs (a[i] - b[i]));

        return largest;
    }

    /** Where the text of the session's first plug-in chunk starts and how long it is. */
    std::pair<size_t, size_t> chunkText (const std::string& session)
    {
        const auto element = session.find ("<chunk");
        const auto start = session.find ('>', element);
        const auto end = session.find ("</chunk>", start);

        if (element == std::string::npos || start == std::string::npos || end == std::string::npos)
            return { std::string::npos, 0 };

        return { start + 1, end - start - 1 };
    }

    /** Replaces the value Ardour keeps for one plug-in parameter; false when it is not there. */
    bool replaceControlValue (std::string& session, const std::string& name, const std::string& value)
    {
        const auto control = session.find ("<Controllable name=\"" + name + "\"");
        const auto attribute = session.find (" value=\"", control);

        if (control == std::string::npos || attribute == std::string::npos)
            return false;

        const auto start = attribute + 8;
        session.replace (start, session.find ('"', start) - start, value);
        return true;
    }

    const std::string base64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

    std::string fromBase64 (const std::string& text)
    {
        std::string bytes;
        uint32_t bits = 0;
        int count = 0;

        for (const char c : text)
        {
            const auto at = base64Alphabet.find (c);

            if (at == std::string::npos)
                continue;

            bits = (bits << 6) | (uint32_t) at;

            if ((count += 6) >= 8)
                bytes.push_back ((char) ((bits >> (count -= 8)) & 0xFF));
        }

        return bytes;
    }

    std::string toBase64 (const std::string& bytes)
    {
        std::string text;
        uint32_t bits = 0;
        int count = 0;

        for (const char c : bytes)
        {
            bits = (bits << 8) | (uint8_t) c;

            for (count += 8; count >= 6; count -= 6)
                text.push_back (base64Alphabet[(bits >> (count - 6)) & 0x3F]);
        }

        if (count > 0)
            text.push_back (base64Alphabet[(bits << (6 - count)) & 0x3F]);

        while (text.size() % 4 != 0)
            text.push_back ('=');

        return text;
    }

    /** Our state block with one controller binding set: magic, text length, XML text, zero. */
    std::string withBinding (const std::string& block, const std::string& element, int controller)
    {
        int32_t length = 0;
        std::memcpy (&length, block.data() + 4, 4);
        auto text = block.substr (8, (size_t) length);
        const auto unbound = "<" + element + ">-1</" + element + ">";
        const auto at = text.find (unbound);

        if (at == std::string::npos)
            return {};

        text.replace (at, unbound.size(), "<" + element + ">" + std::to_string (controller) + "</" + element + ">");
        length = (int32_t) text.size();
        return block.substr (0, 4) + std::string (reinterpret_cast<const char*> (&length), 4) + text + std::string (1, '\0');
    }

    const char* const controllerScript = R"lua(ardour {
    ["type"]    = "dsp",
    name        = "Lumarro Test Controller",
    category    = "Utility",
    license     = "MIT",
    author      = "Lumarro tests",
    description = [[Passes audio through, and sends controller 7 at full value at one second on the timeline]]
}

function dsp_ioconfig ()
    return { { audio_in = 2, audio_out = 2, midi_out = 1 } }
end

function dsp_init (rate)
    send_at = rate
end

function dsp_run (ins, outs, n_samples)
    for c = 1, #outs do
        if ins[c] ~= outs[c] then ARDOUR.DSP.copy_vector (outs[c], ins[c], n_samples) end
    end
    local start = Session:transport_sample ()
    if Session:transport_rolling () and start <= send_at and send_at < start + n_samples then
        midiout[1] = { time = send_at - start + 1, data = { 0xb0, 7, 127 } }
    end
end
)lua";

    const char* const impulseScript = R"lua(ardour {
    ["type"]    = "dsp",
    name        = "Lumarro Test Impulse",
    category    = "Utility",
    license     = "MIT",
    author      = "Lumarro tests",
    description = [[Silence, with one full-scale sample at one second on the timeline while the transport rolls]]
}

function dsp_ioconfig ()
    return { { audio_in = -1, audio_out = -1 } }
end

function dsp_init (rate)
    impulse_at = rate
end

function dsp_run (ins, outs, n_samples)
    local start = Session:transport_sample ()
    for c = 1, #outs do
        ARDOUR.DSP.memset (outs[c], 0, n_samples)
        if Session:transport_rolling () and start <= impulse_at and impulse_at < start + n_samples then
            outs[c]:array ()[impulse_at - start + 1] = 1.0
        end
    end
end
)lua";

    /** A preset for the float format Ardour ships ("BWAV 32float Export", at the session's rate):
        the default export would resample, dither and normalise, and no two renders could then be
        compared sample for sample.
    */
    const std::string floatExportPresetId = "6c1d3b52-3a0e-4f7e-9d43-4c8e2b7a9f10";
    const std::string floatExportPreset = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                          "<ExportPreset id=\"" + floatExportPresetId + "\" name=\"Lumarro tests: float\">\n"
                                          "  <ExportFormat id=\"20b4ab09-6452-4cb3-bd66-b921cdbd2942\"/>\n"
                                          "</ExportPreset>\n";

    /** Opens a session with one stereo track holding the plug-in, or loads the saved one. */
    const char* const sessionPrelude = R"lua(io.stdout:setvbuf ("no")
AudioEngine:set_backend ("None (Dummy)", "", "")

function result (key, value) print ("RESULT " .. key .. " " .. tostring (value)) end

function plugin_of (session)
    for route in session:get_routes ():iter () do
        for i = 0, 4 do
            local proc = route:nth_plugin (i)
            if not proc:isnil () and proc:display_name () == "Lumarro" then return route, proc end
        end
    end
end

function new_session_with_plugin (folder)
    local session = create_session (folder, "lumarro", 48000)
    local track = session:new_audio_track (2, 2, nil, 1, "Echo", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front ()
    local plugin = ARDOUR.LuaAPI.new_plugin (session, "Lumarro", ARDOUR.PluginType.LXVST, "")
    if plugin:isnil () then result ("plugin", "missing") return end
    track:add_processor_by_index (plugin, 0, nil, true)
    result ("plugin", "loaded")
    return session, track, plugin
end

-- The impulse generator goes first on the track, so that the effect hears it.
function add_impulse (session, track)
    local impulse = ARDOUR.LuaAPI.new_plugin (session, "Lumarro Test Impulse", ARDOUR.PluginType.Lua, "")
    result ("impulse", impulse:isnil () and "missing" or "loaded")
    track:add_processor_by_index (impulse, 0, nil, true)
end

-- Exports the session's first seconds to <folder>/<name>.wav, as 32-bit float.
function export_seconds (session, folder, name, seconds)
    os.execute ("mkdir -p '" .. folder .. "'")
    local export = session:simple_export ()
    export:set_folder (folder)
    export:set_name (name)
    export:set_range (0, session:nominal_sample_rate () * seconds)
    result ("export_" .. name, export:set_preset (float_export_preset) and export:run_export ())
end
)lua";

    /** One fresh Ardour home per test suite run: the plug-in folder, the scanner's cache, the
        impulse generator and controller scripts and the float export preset.
    */
    class Ardour : public ::testing::Test
    {
    protected:
        static void SetUpTestSuite()
        {
            if (! fs::exists (scanner) || ! fs::exists (luaSession))
                return;

            char pattern[] = "/tmp/lumarro-ardour-XXXXXX";
            root = mkdtemp (pattern);
            fs::create_directories (root / "home");
            fs::create_directories (root / "plugins");
            fs::copy_file (LUMARRO_PLUGIN_PATH, root / "plugins" / "Lumarro.so");

            // Ardour trusts its scan cache only when it is newer than the library.
            fs::last_write_time (root / "plugins" / "Lumarro.so", fs::file_time_type::clock::now() - std::chrono::minutes (5));
            writeFile (root / "home" / ".config" / "ardour7" / "scripts" / "lumarro_test_impulse.lua", impulseScript);
            writeFile (root / "home" / ".config" / "ardour7" / "scripts" / "lumarro_test_controller.lua", controllerScript);
            writeFile (root / "home" / ".config" / "ardour7" / "export" / "lumarro_test_float.preset", floatExportPreset);

            scan = runCommand (environment() + " LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 " + scanner + " -f "
                               + (root / "plugins" / "Lumarro.so").string());
        }

        static void TearDownTestSuite()
        {
            if (! root.empty())
                fs::remove_all (root);
        }

        void SetUp() override
        {
            if (root.empty())
                GTEST_SKIP() << "Ardour 7 is not installed (package ardour)";
        }

        // How often Ardour's crashes made a test run a session again, for the run's log.
        void TearDown() override
        {
            const auto* const test = ::testing::UnitTest::GetInstance()->current_test_info();
            std::cout << "Ardour retries in " << test->test_suite_name() << "." << test->name() << ": " << retries << std::endl;
            RecordProperty ("ardour_retries", retries);
        }

        static std::string environment()
        {
            return "env HOME=" + (root / "home").string() + " LXVST_PATH=" + (root / "plugins").string();
        }

        /** Runs a Lua session script, bounded in time, and returns what it printed.

            Ardour 7.3 itself now and then crashes on a corrupt heap around an export (an abort from
            glibc's checks, or a segmentation fault): its export objects are torn down on the engine
            thread and the Lua collector at once. It does so just as often with no plug-in in the
            session and our library not even on the machine, and gdb finds no frame of ours in any
            thread. A run that Ardour ends that way, before the script finished, is run again from a
            clean folder, six times at most; a crash that comes every time still fails, and so does
            a run that times out or fails in any other way.
        */
        CommandRun runLua (const std::string& name, const std::string& body)
        {
            const auto script = root / (name + ".lua");
            writeFile (script, "float_export_preset = '" + floatExportPresetId + "'\n" + sessionPrelude + body
                                   + "\nclose_session ()\nresult (\"finished\", \"yes\")\n");
            const auto before = entriesOf (root);
            const auto command = environment() + " timeout 300 " + luaSession + " " + script.string();
            auto run = runCommand (command);

            for (int retry = 0; retry < 6 && ardourCrashed (run); ++retry)
            {
                ++retries;

                for (const auto& entry : entriesOf (root))
                    if (before.count (entry) == 0)
                        fs::remove_all (entry);

                run = runCommand (command);
            }

            EXPECT_EQ (resultOf (run.output, "finished"), "yes") << run.output;
            return run;
        }

        /** Ardour ended by SIGABRT (glibc's heap checks) or SIGSEGV before the script finished. */
        static bool ardourCrashed (const CommandRun& run)
        {
            const bool finished = run.output.find ("RESULT finished yes") != std::string::npos;
            const int signal = endingSignal (run.status);
            return ! finished && (signal == SIGABRT || signal == SIGSEGV);
        }

        /** The signal that ended a command, 0 if none. The shell reports its child's as 128 plus
            its number; when the shell execs the command instead, timeout raises the signal its
            child died of on itself, and pclose sees that signal. */
        static int endingSignal (int status)
        {
            if (WIFSIGNALED (status))
                return WTERMSIG (status);

            const int code = WIFEXITED (status) ? WEXITSTATUS (status) : 0;
            return code > 128 ? code - 128 : 0;
        }

        static std::set<fs::path> entriesOf (const fs::path& folder)
        {
            std::set<fs::path> entries;

            for (const auto& entry : fs::directory_iterator (folder))
                entries.insert (entry.path());

            return entries;
        }

        static inline fs::path root;
        static inline CommandRun scan;
        int retries = 0;
    };
}

TEST_F (Ardour, ACrashIsToldFromATimeOutOrAFailureWhetherOrNotTheShellExecsTheCommand)
{
    for (const auto* const crash : { "timeout 5 sh -c 'kill -ABRT $$'", "exec timeout 5 sh -c 'kill -SEGV $$'" })
        EXPECT_TRUE (ardourCrashed (runCommand (crash))) << crash;

    for (const auto* const failure : { "timeout 1 sleep 5", "exec timeout 1 sleep 5", "exit 1" })
        EXPECT_FALSE (ardourCrashed (runCommand (failure))) << failure;
}

TEST_F (Ardour, TheScannerFindsTheEffectWithItsIdentity)
{
    // The scanner exits 0 whatever happens; its output and cache tell the truth.
    EXPECT_NE (scan.output.find ("Found Plugin"), std::string::npos) << scan.output;
    EXPECT_NE (scan.output.find ("Lumarro"), std::string::npos) << scan.output;

    std::string cache;

    for (const auto& entry : fs::recursive_directory_iterator (root / "home" / ".cache" / "ardour7" / "vst"))
        if (entry.path().extension() == ".v2i")
            cache = readFile (entry.path());

    ASSERT_FALSE (cache.empty()) << scan.output;

    for (const auto* attribute : { "id=\"1366903925\"", "name=\"Lumarro\"", "creator=\"Quellory\"", "category=\"Effect\"",
                                   "n_inputs=\"2\"", "n_outputs=\"2\"", "n_midi_inputs=\"1\"", "n_midi_outputs=\"0\"",
                                   "is_instrument=\"0\"", "can_process_replace=\"1\"", "has_editor=\"1\"" })
        EXPECT_NE (cache.find (attribute), std::string::npos) << attribute << " in " << cache;
}

TEST_F (Ardour, LoadsTheEffectByNameWithNineParametersThatReadBack)
{
    const auto run = runLua ("parameters", "local session, track, plugin = new_session_with_plugin ('" + (root / "parameters").string() + R"lua(')
local insert = plugin:to_insert ():plugin (0)
result ("count", insert:parameter_count ())
local names = ""
for i = 0, insert:parameter_count () - 1 do names = names .. insert:parameter_label (i) .. "," end
result ("names", names)
local values = { 0.125, 0.25, 0.66, 0.375, 0.5, 0.625, 0.75, 0.875, 0.8 }
local readBack = ""
for i = 0, 8 do
    ARDOUR.LuaAPI.set_processor_param (plugin, i, values[i + 1])
end
for i = 0, 8 do
    readBack = readBack .. string.format ("%.4f,", ARDOUR.LuaAPI.get_processor_param (plugin, i, true))
end
result ("values", readBack)
)lua");

    EXPECT_EQ (resultOf (run.output, "plugin"), "loaded") << run.output;
    EXPECT_EQ (resultOf (run.output, "count"), "9");
    EXPECT_EQ (resultOf (run.output, "names"), "DelayTime,DelayFeedback,Mode,Balance,PingPong,HighCut,LowCut,DryWet,Gain,");
    EXPECT_EQ (resultOf (run.output, "values"), "0.1250,0.2500,0.6600,0.3750,0.5000,0.6250,0.7500,0.8750,0.8000,");
}

TEST_F (Ardour, AnExportedImpulseEchoesAfterAQuarterNoteAtTheSessionTempo)
{
    const auto exports = root / "exports";
    const auto run = runLua ("export", "local exports = '" + exports.string() + "'\n"
                             + "local session, track, plugin = new_session_with_plugin ('" + (root / "export").string() + R"lua(')
-- 90 bpm, so that only the host's tempo (not a default of 120) gives the expected echo.
local map = Temporal.TempoMap.fetch_writable ()
map:set_tempo (Temporal.Tempo (90, 90, 4), Temporal.timepos_t (0))
Temporal.TempoMap.update (map)

add_impulse (session, track)

ARDOUR.LuaAPI.set_processor_param (plugin, 2, 1.0)     -- Sync
ARDOUR.LuaAPI.set_processor_param (plugin, 0, 0.625)   -- "1/4"
ARDOUR.LuaAPI.set_processor_param (plugin, 1, 0.5)     -- one clear echo at 0.55

-- The delay time glides slowly from where the effect starts; a first pass lets it arrive.
export_seconds (session, exports, "settle", 20)
export_seconds (session, exports, "impulse", 3)
)lua");

    ASSERT_EQ (resultOf (run.output, "plugin"), "loaded") << run.output;
    ASSERT_EQ (resultOf (run.output, "impulse"), "loaded") << run.output;
    ASSERT_EQ (resultOf (run.output, "export_impulse"), "true") << run.output;

    const auto wav = readWav (exports / "impulse.wav");
    ASSERT_GT (wav.sampleRate, 0.0);

    const auto peaks = peaksAbove (wav.firstChannel, 0.1f, 200);
    ASSERT_GE (peaks.size(), 2u) << "no echo in the export";

    const auto expected = wav.sampleRate * 60.0 / 90.0;
    EXPECT_NEAR (std::abs (wav.firstChannel[peaks[0]]), 1.0, 0.05);
    EXPECT_NEAR ((double) (peaks[1] - peaks[0]), expected, 2.0);
    EXPECT_NEAR (std::abs (wav.firstChannel[peaks[1]]), 0.55, 0.1);
}

TEST_F (Ardour, ASavedSessionRestoresTheEffectThroughItsChunk)
{
    const auto folder = root / "saved";
    const auto saved = runLua ("save", "local session, track, plugin = new_session_with_plugin ('" + folder.string() + R"lua(')
ARDOUR.LuaAPI.set_processor_param (plugin, 1, 0.75)
ARDOUR.LuaAPI.set_processor_param (plugin, 4, 0.25)
ARDOUR.LuaAPI.set_processor_param (plugin, 2, 1.0)
session:save_state ("", false, false, false)
)lua");
    ASSERT_EQ (resultOf (saved.output, "plugin"), "loaded") << saved.output;

    // Ardour keeps the state block as the plug-in's chunk, beside its own copy of each value.
    auto session = readFile (folder / "lumarro.ardour");
    const auto [chunkStart, chunkLength] = chunkText (session);
    ASSERT_NE (chunkStart, std::string::npos) << "no chunk saved";
    EXPECT_EQ (fromBase64 (session.substr (chunkStart, chunkLength)).substr (0, 4), "VC2!") << "not our state block";

    // Spoil Ardour's own copies: only the chunk can bring the values back.
    const std::pair<const char*, const char*> spoiled[] { { "DelayFeedback", "0.125" }, { "PingPong", "0.875" }, { "Mode", "0" } };

    for (const auto& [name, value] : spoiled)
        ASSERT_TRUE (replaceControlValue (session, name, value)) << name;

    writeFile (folder / "lumarro.ardour", session);

    const auto loaded = runLua ("load", "local session = load_session ('" + folder.string() + R"lua(', 'lumarro')
local route, plugin = plugin_of (session)
local values = ""
for i = 0, 8 do values = values .. string.format ("%.4f,", ARDOUR.LuaAPI.get_processor_param (plugin, i, true)) end
result ("values", values)
)lua");

    EXPECT_EQ (resultOf (loaded.output, "values"), "0.0000,0.7500,1.0000,0.5000,0.2500,0.0000,0.0000,0.5000,0.9000,") << loaded.output;
}

TEST_F (Ardour, AControllerFromTheHostMovesABoundParameterAndTheHostHearsOfIt)
{
    const auto folder = root / "midi";
    const auto created = runLua ("midi_create", "local session, track, plugin = new_session_with_plugin ('" + folder.string() + R"lua(')
local controller = ARDOUR.LuaAPI.new_plugin (session, "Lumarro Test Controller", ARDOUR.PluginType.Lua, "")
result ("controller", controller:isnil () and "missing" or "loaded")
track:add_processor_by_index (controller, 0, nil, true)
session:save_state ("", false, false, false)
)lua");
    ASSERT_EQ (resultOf (created.output, "controller"), "loaded") << created.output;

    // Bind controller 7 to DryWet inside the saved chunk; there is no other way in from Ardour.
    auto session = readFile (folder / "lumarro.ardour");
    const auto [chunkStart, chunkLength] = chunkText (session);
    ASSERT_NE (chunkStart, std::string::npos) << "no chunk saved";
    const auto bound = withBinding (fromBase64 (session.substr (chunkStart, chunkLength)), "midiMapDryWet", 7);
    ASSERT_FALSE (bound.empty());
    session.replace (chunkStart, chunkLength, toBase64 (bound));
    writeFile (folder / "lumarro.ardour", session);

    const auto played = runLua ("midi_play", "local session = load_session ('" + folder.string() + "', 'lumarro')\n"
                                + "os.execute ('mkdir -p " + (root / "midi-export").string() + "')\n" + R"lua(
local route, plugin = plugin_of (session)
local control = plugin:to_automatable ():automation_control (Evoral.Parameter (ARDOUR.AutomationType.PluginAutomation, 0, 7), false)
result ("before", string.format ("%.3f", control:get_value ()))
local export = session:simple_export ()
export:set_folder (")lua" + (root / "midi-export").string() + R"lua(")
export:set_name ("controller")
export:set_range (0, session:nominal_sample_rate () * 2)
result ("export", export:run_export ())
result ("host", string.format ("%.3f", control:get_value ()))
result ("effect", string.format ("%.3f", ARDOUR.LuaAPI.get_processor_param (plugin, 7, true)))
)lua");

    EXPECT_EQ (resultOf (played.output, "before"), "0.500") << played.output;
    EXPECT_EQ (resultOf (played.output, "export"), "true") << played.output;
    EXPECT_EQ (resultOf (played.output, "effect"), "1.000") << played.output;
    EXPECT_EQ (resultOf (played.output, "host"), "1.000") << played.output;
}

TEST_F (Ardour, AReopenedSessionEchoesAtItsSavedDelayFromTheFirstSample)
{
    const auto folder = root / "reopened";
    const auto exports = root / "reopened-exports";
    const auto saved = runLua ("reopen_save", "local session, track, plugin = new_session_with_plugin ('" + folder.string() + R"lua(')
add_impulse (session, track)
ARDOUR.LuaAPI.set_processor_param (plugin, 2, 0.0)     -- Short: 5 to 100 ms
ARDOUR.LuaAPI.set_processor_param (plugin, 0, 0.5)     -- 52.5 ms, far from where a new line starts
ARDOUR.LuaAPI.set_processor_param (plugin, 1, 0.5)
session:save_state ("", false, false, false)
)lua");
    ASSERT_EQ (resultOf (saved.output, "plugin"), "loaded") << saved.output;
    ASSERT_EQ (resultOf (saved.output, "impulse"), "loaded") << saved.output;

    // A fresh Ardour renders the session as soon as it is open, then again once any glide
    // has had twenty seconds to arrive.
    const auto reopened = runLua ("reopen_play", "local exports = '" + exports.string() + "'\n"
                                  + "local session = load_session ('" + folder.string() + R"lua(', 'lumarro')
export_seconds (session, exports, "at_once", 3)
export_seconds (session, exports, "settle", 20)
export_seconds (session, exports, "settled", 3)
)lua");
    ASSERT_EQ (resultOf (reopened.output, "export_at_once"), "true") << reopened.output;
    ASSERT_EQ (resultOf (reopened.output, "export_settled"), "true") << reopened.output;

    const auto atOnce = readWav (exports / "at_once.wav");
    const auto settled = readWav (exports / "settled.wav");
    ASSERT_GT (atOnce.sampleRate, 0.0);
    const auto savedDelay = 0.0525 * atOnce.sampleRate;
    const auto atOnceDelay = firstEchoDelay (atOnce.firstChannel);

    EXPECT_NEAR (firstEchoDelay (settled.firstChannel), savedDelay, 1.0) << "the settled render";
    EXPECT_NEAR (atOnceDelay, savedDelay, 1.0) << "the first echo came at " << 1000.0 * atOnceDelay / atOnce.sampleRate
                                               << " ms instead of 52.5 ms";
    EXPECT_LE (largestDifference (atOnce.firstChannel, settled.firstChannel), 1.0e-6f) << "the render at once against the settled one";
}
