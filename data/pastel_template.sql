-- The template database pastel.mdb. Every column is TEXT and each table
-- holds exactly one row. Saving copies this file for every poster.
CREATE TABLE imagedata (
  backcolor TEXT,
  ima0L TEXT, ima0T TEXT, ima0W TEXT, ima0H TEXT, ima0F TEXT,
  ima1L TEXT, ima1T TEXT, ima1W TEXT, ima1H TEXT, ima1F TEXT,
  ima2L TEXT, ima2T TEXT, ima2W TEXT, ima2H TEXT, ima2F TEXT,
  ima3L TEXT, ima3T TEXT, ima3W TEXT, ima3H TEXT, ima3F TEXT,
  ima4L TEXT, ima4T TEXT, ima4W TEXT, ima4H TEXT, ima4F TEXT,
  ima5L TEXT, ima5T TEXT, ima5W TEXT, ima5H TEXT, ima5F TEXT,
  ima6L TEXT, ima6T TEXT, ima6W TEXT, ima6H TEXT, ima6F TEXT,
  ima7L TEXT, ima7T TEXT, ima7W TEXT, ima7H TEXT, ima7F TEXT,
  ima8L TEXT, ima8T TEXT, ima8W TEXT, ima8H TEXT, ima8F TEXT,
  ima9L TEXT, ima9T TEXT, ima9W TEXT, ima9H TEXT, ima9F TEXT,
  colcode TEXT,
  sgazo TEXT
);
CREATE TABLE textdata (
  tex0L TEXT, tex0T TEXT, tex0W TEXT, tex0H TEXT, tex0S TEXT, tex0F TEXT, tex0C TEXT, tex0B TEXT,
  tex1L TEXT, tex1T TEXT, tex1W TEXT, tex1H TEXT, tex1S TEXT, tex1F TEXT, tex1C TEXT, tex1B TEXT,
  tex2L TEXT, tex2T TEXT, tex2W TEXT, tex2H TEXT, tex2S TEXT, tex2F TEXT, tex2C TEXT, tex2B TEXT,
  tex3L TEXT, tex3T TEXT, tex3W TEXT, tex3H TEXT, tex3S TEXT, tex3F TEXT, tex3C TEXT, tex3B TEXT,
  tex4L TEXT, tex4T TEXT, tex4W TEXT, tex4H TEXT, tex4S TEXT, tex4F TEXT, tex4C TEXT, tex4B TEXT,
  tex5L TEXT, tex5T TEXT, tex5W TEXT, tex5H TEXT, tex5S TEXT, tex5F TEXT, tex5C TEXT, tex5B TEXT,
  tex6L TEXT, tex6T TEXT, tex6W TEXT, tex6H TEXT, tex6S TEXT, tex6F TEXT, tex6C TEXT, tex6B TEXT,
  tex7L TEXT, tex7T TEXT, tex7W TEXT, tex7H TEXT, tex7S TEXT, tex7F TEXT, tex7C TEXT, tex7B TEXT,
  tex8L TEXT, tex8T TEXT, tex8W TEXT, tex8H TEXT, tex8S TEXT, tex8F TEXT, tex8C TEXT, tex8B TEXT,
  tex9L TEXT, tex9T TEXT, tex9W TEXT, tex9H TEXT, tex9S TEXT, tex9F TEXT, tex9C TEXT, tex9B TEXT
);
CREATE TABLE 所属テーブル (
  moji1 TEXT, moji2 TEXT, moji3 TEXT, moji4 TEXT, moji5 TEXT, moji6 TEXT, moji7 TEXT, moji8 TEXT, moji9 TEXT, moji10 TEXT
);

-- One parked row per poster table: nothing adds these rows later.
INSERT INTO imagedata VALUES (
  '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '13200', '0', '1785', '1335', '',
  '#ffffff', '#ffffff'
);
INSERT INTO textdata VALUES (
  '11040', '2520', '3855', '555', '14', 'なつやすみ', '0', '16777215',
  '11040', '3240', '3855', '555', '14', 'えんそく', '0', '16777215',
  '11040', '3960', '3855', '555', '14', 'ありがとう', '0', '16777215',
  '11040', '4680', '3855', '555', '14', 'うんどうかい', '0', '16777215',
  '11040', '5400', '3855', '555', '14', 'おまつり', '0', '16777215',
  '11040', '6120', '3855', '555', '14', 'たんじょうび', '0', '16777215',
  '11040', '6840', '3855', '555', '14', 'ともだち', '0', '16777215',
  '11040', '7560', '3855', '555', '14', 'がっこう', '0', '16777215',
  '11040', '8280', '3855', '555', '14', 'おかあさん', '0', '16777215',
  '11040', '9000', '3855', '555', '14', 'だいすき', '0', '16777215'
);
-- The word list the settings dialog offers on a first start.
INSERT INTO 所属テーブル VALUES (
  'なつやすみ', 'えんそく', 'ありがとう', 'うんどうかい', 'おまつり', 'たんじょうび', 'ともだち', 'がっこう', 'おかあさん', 'だいすき'
);
