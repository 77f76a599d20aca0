#include "song.h"

#include <filesystem>
#include <map>

namespace {

struct Pattern {
  std::vector<std::pair<std::string, TextLine>> lines;  // channel name, its notes
};

class SongReader {
 public:
  SongReader(const std::string& path, Song& song) : m_path(path), m_song(song) {}

  bool Read() {
    if (!m_reader.Open(m_path)) return false;
    for (const TextLine& line : m_reader.Lines()) ReadLine(line);
    if (m_order.empty() && !m_reader.Failed()) m_reader.Error(m_reader.Lines().back(), "no 'song' line");
    for (const auto& [name, line] : m_order) PlacePattern(name, line);
    return !m_reader.Failed();
  }

 private:
  enum class Block { Header, Channel, Pattern };

  void ReadLine(const TextLine& line) {
    const std::string& key = line.words[0];
    if (key == "channel") {
      StartChannel(line);
    } else if (key == "pattern") {
      if (m_reader.Arguments(line, 1)) m_currentPattern = &m_patterns[line.words[1]];
      m_block = Block::Pattern;
    } else if (key == "song") {
      for (size_t i = 1; i < line.words.size(); ++i) m_order.emplace_back(line.words[i], line);
    } else if (m_block == Block::Header) {
      ReadHeader(line);
    } else if (m_block == Block::Channel) {
      ReadChannelSetting(line);
    } else if (FindChannel(key) == nullptr) {
      m_reader.Error(line, "no channel '" + key + "'");
    } else {
      m_currentPattern->lines.emplace_back(key, line);
    }
  }

  void ReadHeader(const TextLine& line) {
    const std::string& key = line.words[0];
    double value = 0.0;
    if (key == "echo") {
      if (m_reader.Arguments(line, 2) && m_reader.Number(line, 1, m_song.echoDelay))
        m_reader.Number(line, 2, m_song.echoFeedback);
      return;
    }
    if (!m_reader.Arguments(line, 1) || !m_reader.Number(line, 1, value)) return;
    if (key == "tempo" && value > 0)
      m_song.tempo = value;
    else if (key == "steps" && value >= 1)
      m_song.stepsPerBeat = static_cast<int>(value);
    else if (key == "bar" && value >= 1)
      m_song.stepsPerBar = static_cast<int>(value);
    else if (key == "loopstart" && value >= 0)
      m_song.loopStart = static_cast<int>(value);
    else if (key == "peak" && value > 0)
      m_song.peak = value;
    else if (key == "bitrate" && value >= 8)
      m_song.bitrate = static_cast<int>(value);
    else if (key == "rate" && value >= 8000)
      m_song.rate = static_cast<int>(value);
    else
      m_reader.Error(line, "unknown setting or value '" + key + "'");
  }

  void StartChannel(const TextLine& line) {
    m_block = Block::Channel;
    if (!m_reader.Arguments(line, 2)) return;
    SongChannel channel;
    channel.name = line.words[1];
    channel.isKit = line.words[2] == "drums";
    if (!channel.isKit && !ParseWave(line.words[2], channel.voice.wave))
      m_reader.Error(line, "unknown wave '" + line.words[2] + "'");
    m_song.channels.push_back(channel);
  }

  void ReadChannelSetting(const TextLine& line) {
    SongChannel& channel = m_song.channels.back();
    const std::string& key = line.words[0];
    if (key == "drum") {
      AddDrum(line, channel);
    } else if (key == "pan" || key == "send" || key == "gate") {
      double& target = key == "pan" ? channel.pan : key == "send" ? channel.send : channel.gate;
      if (m_reader.Arguments(line, 1)) m_reader.Number(line, 1, target);
    } else if (!ParseVoiceSetting(m_reader, line, channel.voice)) {
      m_reader.Error(line, "unknown channel setting '" + key + "'");
    }
  }

  void AddDrum(const TextLine& line, SongChannel& channel) {
    DrumSound drum;
    if (!channel.isKit || !m_reader.Arguments(line, 3) || !m_reader.Number(line, 3, drum.level)) {
      if (!channel.isKit) m_reader.Error(line, "only a 'drums' channel has drums");
      return;
    }
    drum.name = line.words[1];
    Recipe recipe;
    const std::string recipePath = (std::filesystem::path(m_path).parent_path() / line.words[2]).string();
    if (!ReadRecipe(recipePath, recipe)) {
      m_reader.Error(line, "cannot use drum recipe " + recipePath);
      return;
    }
    drum.samples = RenderRecipe(recipe, m_song.rate);
    channel.kit.push_back(drum);
  }

  SongChannel* FindChannel(const std::string& name) {
    for (SongChannel& channel : m_song.channels)
      if (channel.name == name) return &channel;
    return nullptr;
  }

  // Places the notes of one token; false on a wrong token.
  void PlaceToken(const TextLine& line, const std::string& token, SongChannel& channel, int& step) {
    const size_t colon = token.find(':');
    const std::string body = token.substr(0, colon);
    int length = 1;
    if (colon != std::string::npos) {
      length = std::atoi(token.c_str() + colon + 1);
      if (length < 1) return m_reader.Error(line, "'" + token + "' has no length");
    }
    if (body == "-") {
      if (channel.notes.empty() || channel.notes.back().step + channel.notes.back().length != step)
        return m_reader.Error(line, "'-' holds no note");
      channel.notes.back().length += length;
    } else if (body != ".") {
      NoteEvent note;
      note.step = step;
      note.length = length;
      for (size_t start = 0; start <= body.size();) {
        size_t plus = body.find('+', start);
        if (plus == std::string::npos) plus = body.size();
        AddToChord(line, body.substr(start, plus - start), channel, note);
        start = plus + 1;
      }
      channel.notes.push_back(note);
    }
    step += length;
  }

  void AddToChord(const TextLine& line, const std::string& name, SongChannel& channel, NoteEvent& note) {
    if (!channel.isKit) {
      double hertz = 0.0;
      if (!ParsePitch(name, hertz)) return m_reader.Error(line, "'" + name + "' is no note");
      note.pitches.push_back(hertz);
      return;
    }
    for (size_t i = 0; i < channel.kit.size(); ++i)
      if (channel.kit[i].name == name) return note.drums.push_back(static_cast<int>(i));
    m_reader.Error(line, "no drum '" + name + "' in " + channel.name);
  }

  void PlacePattern(const std::string& name, const TextLine& songLine) {
    auto found = m_patterns.find(name);
    if (found == m_patterns.end()) return m_reader.Error(songLine, "no pattern '" + name + "'");
    int patternLength = -1;
    for (SongChannel& channel : m_song.channels) {
      int step = m_song.lengthInSteps;
      int barStart = step;
      int bar = 1;
      const TextLine* lastLine = nullptr;
      for (const auto& [channelName, line] : found->second.lines) {
        if (channelName != channel.name) continue;
        lastLine = &line;
        for (size_t i = 1; i < line.words.size(); ++i) {
          if (line.words[i] != "|") {
            PlaceToken(line, line.words[i], channel, step);
            continue;
          }
          if (step - barStart != m_song.stepsPerBar)
            m_reader.Error(line, "bar " + std::to_string(bar) + " of " + channel.name + " in pattern " +
                                     name + " has " + std::to_string(step - barStart) + " steps, not " +
                                     std::to_string(m_song.stepsPerBar));
          barStart = step;
          ++bar;
        }
      }
      if (lastLine == nullptr) continue;
      const int length = step - m_song.lengthInSteps;
      if (patternLength >= 0 && length != patternLength)
        m_reader.Error(*lastLine, channel.name + " lasts " + std::to_string(length) + " steps in pattern " +
                                      name + ", other channels " + std::to_string(patternLength));
      patternLength = length;
    }
    if (patternLength > 0) m_song.lengthInSteps += patternLength;
  }

  std::string m_path;
  Song& m_song;
  TextReader m_reader;
  Block m_block = Block::Header;
  std::map<std::string, Pattern> m_patterns;
  Pattern* m_currentPattern = nullptr;
  std::vector<std::pair<std::string, TextLine>> m_order;
};

}  // namespace

bool ReadSong(const std::string& path, Song& song) { return SongReader(path, song).Read(); }
