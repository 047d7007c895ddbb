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
