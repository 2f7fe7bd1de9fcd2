-- A small sample data source for a first profile.
CREATE TABLE Customers (
  CustomerID INTEGER PRIMARY KEY,
  CompanyName VARCHAR(60) NOT NULL,
  ContactName VARCHAR(40),
  City VARCHAR(30),
  Country VARCHAR(30),
  Phone VARCHAR(24)
);

CREATE TABLE Products (
  ProductID INTEGER PRIMARY KEY,
  ProductName VARCHAR(60) NOT NULL,
  UnitPrice DECIMAL(10, 2),
  UnitsInStock SMALLINT,
  Discontinued BIT
);

CREATE TABLE Orders (
  OrderID INTEGER PRIMARY KEY,
  CustomerID INTEGER NOT NULL REFERENCES Customers (CustomerID),
  OrderDate DATE,
  ShipCity VARCHAR(30),
  Freight DECIMAL(10, 2)
);

INSERT INTO Customers VALUES
  (1, 'Alder Outfitters', 'Maria Lindqvist', 'Uppsala', 'Sweden', '018-555 0142'),
  (2, 'Brookside Traders', 'Tom O''Hara', 'Galway', 'Ireland', '091 555 0187'),
  (3, 'Cedar Lane Books', 'Ana Ribeiro', 'Porto', 'Portugal', '22 555 0133'),
  (4, 'Dunmore Kitchens', 'Lukas Brandt', 'Leipzig', 'Germany', '0341 5550199');

INSERT INTO Products VALUES
  (1, 'Field Notebook', 4.50, 120, 0),
  (2, 'Trail Lantern', 27.95, 14, 0),
  (3, 'Canvas Satchel', 39.00, 0, 1),
  (4, 'Enamel Mug', 8.25, 64, 0);

INSERT INTO Orders VALUES
  (1001, 1, '2009-03-05', 'Uppsala', 12.40),
  (1002, 2, '2009-03-07', 'Galway', 8.00),
  (1003, 1, '2009-04-11', 'Uppsala', 15.75),
  (1004, 4, '2009-05-02', 'Leipzig', 21.10);

CREATE VIEW CustomerOrders AS
  SELECT Orders.OrderID, Customers.CompanyName, Orders.OrderDate, Orders.Freight
  FROM Orders JOIN Customers ON Customers.CustomerID = Orders.CustomerID;

-- The tables of the two sample profiles (24 rows each).
CREATE TABLE Artist (
  ArtistID INTEGER PRIMARY KEY,
  Name VARCHAR(60) NOT NULL,
  Country VARCHAR(30),
  BornYear INTEGER
);

CREATE TABLE Inventory (
  ItemID INTEGER PRIMARY KEY,
  ItemName VARCHAR(60) NOT NULL,
  Quantity INTEGER,
  UnitPrice DECIMAL(10, 2),
  Location VARCHAR(8)
);

INSERT INTO Artist VALUES
  (1, 'Astrid Holm', 'Sweden', 1948),
  (2, 'Benedikt Auer', 'Austria', 1952),
  (3, 'Clara Moretti', 'Italy', 1961),
  (4, 'Dylan Price', 'Wales', 1970),
  (5, 'Elif Demir', 'Turkey', 1983),
  (6, 'Finn Larsen', 'Denmark', 1957),
  (7, 'Greta Novak', 'Czechia', 1966),
  (8, 'Hugo Ferreira', 'Portugal', 1975),
  (9, 'Ines Duarte', 'Brazil', 1989),
  (10, 'Jonas Kask', 'Estonia', 1979),
  (11, 'Kaia Solberg', 'Norway', 1991),
  (12, 'Luca Bianchi', 'Italy', 1944),
  (13, 'Mira Petrovic', 'Serbia', 1968),
  (14, 'Noah Fischer', 'Germany', 1985),
  (15, 'Olga Ivanova', 'Latvia', 1959),
  (16, 'Pablo Ruiz', 'Spain', 1973),
  (17, 'Quinn Murphy', 'Ireland', 1996),
  (18, 'Rosa Lind', 'Finland', 1981),
  (19, 'Sven Aalto', 'Finland', 1950),
  (20, 'Tara Singh', 'India', 1987),
  (21, 'Ugo Lambert', 'France', 1963),
  (22, 'Vera Kovacs', 'Hungary', 1977),
  (23, 'Willem de Vries', 'Netherlands', 1955),
  (24, 'Yara Haddad', 'Lebanon', 1992);

INSERT INTO Inventory VALUES
  (1, 'Field Notebook', 120, 4.50, 'A1'),
  (2, 'Trail Lantern', 14, 27.95, 'A2'),
  (3, 'Canvas Satchel', 0, 39.00, 'A3'),
  (4, 'Enamel Mug', 64, 8.25, 'A4'),
  (5, 'Wool Blanket', 22, 54.00, 'B1'),
  (6, 'Brass Compass', 35, 19.90, 'B2'),
  (7, 'Pocket Knife', 48, 24.50, 'B3'),
  (8, 'Water Flask', 80, 12.75, 'B4'),
  (9, 'Rain Poncho', 40, 15.00, 'C1'),
  (10, 'Camp Stool', 18, 21.40, 'C2'),
  (11, 'Head Torch', 55, 17.60, 'C3'),
  (12, 'Tin Plate', 90, 5.10, 'C4'),
  (13, 'Rope 20 m', 26, 13.30, 'D1'),
  (14, 'Tent Pegs', 150, 3.20, 'D2'),
  (15, 'Sleeping Mat', 12, 33.00, 'D3'),
  (16, 'First Aid Kit', 30, 28.80, 'D4'),
  (17, 'Map Case', 44, 9.95, 'E1'),
  (18, 'Hand Axe', 9, 46.00, 'E2'),
  (19, 'Gas Stove', 16, 62.50, 'E3'),
  (20, 'Fuel Canister', 70, 6.40, 'E4'),
  (21, 'Dry Bag', 38, 14.20, 'F1'),
  (22, 'Walking Pole', 27, 31.90, 'F2'),
  (23, 'Sun Hat', 52, 11.00, 'F3'),
  (24, 'Gaiters', 19, 23.70, 'F4');
