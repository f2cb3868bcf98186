-- Run by scripts/ardour-render through Ardour's headless Lua session
-- (ardour7-lua): records two seconds of the dummy backend's white noise on a
-- stereo track, puts the LV2 plug-in urn:kelmora:zelk-vorlan at the top of
-- the track with the angle at ZELK_ARDOUR_ANGLE degrees, and bounces the
-- recording twice: up to the plug-in ("dry", what the plug-in is given) and
-- through it ("wet"). Prints one line "file NAME CHANNEL PATH" per bounced
-- channel. The session goes to ZELK_ARDOUR_SESSION.
local dir = os.getenv("ZELK_ARDOUR_SESSION")
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
assert(backend, "no dummy backend")
backend:set_device_name("Uniform White Noise")
assert(create_session(dir, "zelk", 48000), "no session")
local track = Session:new_audio_track(2, 2, nil, 1, "Zelk", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front()
track:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
Session:maybe_enable_record(false)
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(2000000)  -- recording
Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(1000000)  -- the recording is written out
local region = nil
for r in track:playlist():region_list():iter() do region = r end
assert(region, "nothing recorded")
print("recorded", region:length():samples())
local proc = ARDOUR.LuaAPI.new_plugin(Session, "urn:kelmora:zelk-vorlan", ARDOUR.PluginType.LV2, "")
assert(not proc:isnil(), "no LV2 plug-in")
track:add_processor_by_index(proc, 0, nil, true)
ARDOUR.LuaAPI.set_processor_param(proc, 0, tonumber(os.getenv("ZELK_ARDOUR_ANGLE") or "90"))
local first = region:position():samples()
local last = (region:position() + region:length()):samples()
local dry = track:bounce_range(first, last, ARDOUR.InterThreadInfo(), proc, false, "dry")
local wet = track:bounce_range(first, last, ARDOUR.InterThreadInfo(), proc, true, "wet")
for _, bounced in ipairs({dry, wet}) do
  for channel = 0, 1 do  -- a stereo track
    print("file", bounced:name(), channel, bounced:source(channel):to_filesource():path())
  end
end
Session:save_state("", false, false, false, false, false)
close_session()
